#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the lint need, and nothing when they are
# already there (so repeated runs cost a few dpkg queries and never touch apt).
#
# Usage: scripts/setup.sh [GROUP...]
#   build  compiler, CMake and GoogleTest (the linux preset needs all of them; the benchmark in
#          tools/bench is plain C++ and needs no library)
#   fuzz   clang and its runtime libraries (libFuzzer, sanitizers) for the linux-fuzz preset
#   lint   clang-format, clang-tidy and shellcheck
#   windows  the MinGW-w64 cross compiler, Wine, a virtual X display, xdotool and ImageMagick for
#            the Windows build and its tests under Wine
# Without a group it installs build, fuzz and windows: everything scripts/test.sh uses.
set -euo pipefail

build_packages=(g++ make cmake libgtest-dev libgmock-dev)
fuzz_packages=(clang libclang-rt-dev)
lint_packages=(clang-format clang-tidy shellcheck)
# GoogleTest's sources (from libgtest-dev, in the build group) are compiled by the Windows build.
windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xdotool imagemagick)

groups=("$@")
if [[ ${#groups[@]} -eq 0 ]]; then
    groups=(build fuzz windows)
fi

wanted=()
for group in "${groups[@]}"; do
    case "$group" in
        build) wanted+=("${build_packages[@]}") ;;
        fuzz) wanted+=("${fuzz_packages[@]}") ;;
        lint) wanted+=("${lint_packages[@]}") ;;
        windows) wanted+=("${windows_packages[@]}") ;;
        *)
            echo "setup: unknown group '$group' (expected build, fuzz, lint or windows)" >&2
            exit 2
            ;;
    esac
done

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "setup: not a Debian system; make sure these are installed: ${wanted[*]}"
    exit 0
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "setup: all packages present (${groups[*]})"
    exit 0
fi

# Non-interactive apt: no prompts, no stdin (sudo drops the environment, hence env).
if [[ $(id -u) -eq 0 ]]; then
    as_root=(env DEBIAN_FRONTEND=noninteractive)
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
else
    echo "setup: missing packages: ${missing[*]}; run this script as root to install them" >&2
    exit 1
fi

# Wait for another apt run (an unattended upgrade on a fresh machine) instead of failing at once.
apt_options=(-o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get "${apt_options[@]}" update -q
"${as_root[@]}" apt-get "${apt_options[@]}" install -y -q --no-install-recommends "${missing[@]}"
echo "setup: done"
