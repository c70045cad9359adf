#!/usr/bin/env bash
# Style and static checks: clang-format must leave every source unchanged, clang-tidy (with the
# repository's .clang-tidy) must report nothing for the sources of the native build, no include
# may run against the layers (scripts/check-layers.sh), and the scripts must pass shellcheck.
#
# Usage: scripts/lint.sh [FILE...]   (default: every C++ source of the repository)
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo_root"

bash "$repo_root/scripts/setup.sh" build lint
# clang-tidy reads the compiler flags from the native build's compile_commands.json.
quietly configure-linux cmake --preset linux

if [[ $# -gt 0 ]]; then
    sources=("$@")
else
    mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' \
        2>/dev/null)
    if [[ ${#sources[@]} -eq 0 ]]; then
        mapfile -t sources < <(find app fuzz history hud overlay platform tests tools \
            \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
    fi
fi

failed=0

echo "== clang-format (${#sources[@]} files)"
unformatted=()
for source in "${sources[@]}"; do
    if ! clang-format --dry-run --Werror "$source" >/dev/null 2>&1; then
        unformatted+=("$source")
    fi
done
if [[ ${#unformatted[@]} -gt 0 ]]; then
    echo "not formatted (fix with clang-format -i FILE):"
    printf '  %s\n' "${unformatted[@]}"
    failed=1
fi

# Only translation units the native build compiles can be checked; headers are checked through
# them (HeaderFilterRegex), Windows-only sources once a Windows build provides their flags.
compiled=$(grep -o '"file": *"[^"]*"' build/linux/compile_commands.json |
    sed 's/.*"\([^"]*\)"$/\1/')
tidy_sources=()
for source in "${sources[@]}"; do
    if [[ $source == *.cpp ]] && grep -qxF "$(realpath -m "$source")" <<<"$compiled"; then
        tidy_sources+=("$source")
    fi
done

echo "== clang-tidy (${#tidy_sources[@]} files)"
if [[ ${#tidy_sources[@]} -gt 0 ]]; then
    tidy_log="$log_dir/clang-tidy.log"
    mkdir -p "$log_dir"
    printf '%s\n' "${tidy_sources[@]}" |
        xargs -P 2 -n 4 clang-tidy -p build/linux --quiet --warnings-as-errors='*' \
            >"$tidy_log" 2>&1 || failed=1
    # Leave out clang's per-file count of suppressed warnings from system headers.
    grep -v -E '^[0-9]+ warnings? generated\.$' "$tidy_log" || true
fi

echo "== include direction"
bash scripts/check-layers.sh || failed=1

echo "== shellcheck"
shellcheck -x scripts/*.sh tests/e2e/*.sh tests/scripts/*.sh .ci/run || failed=1

if [[ $failed -ne 0 ]]; then
    echo "== lint found problems"
    exit 1
fi
echo "== lint clean"
