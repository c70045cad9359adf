#!/usr/bin/env bash
# Builds everything and runs every check: the native tests, the same tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, the fuzz targets for a bounded time, and the Windows build:
# its unit tests and its end-to-end tests under Wine on a virtual display. Installs what it needs
# first (as root, or with sudo), so it also runs on a fresh Debian machine.
#
# Usage: scripts/test.sh   (no arguments)
#
# Environment:
#   LQ_FUZZ_SECONDS  time of the fuzz phase (default 60; 0 builds the fuzzers without running):
#                    the parser's target runs this long on one core, the cache loader's and the
#                    seat reader's share the other (scripts/fuzz-long.sh gives each the whole time)
#   LQ_TEST_TIMEOUT  seconds allowed to a single test (default 300)
#   LQ_E2E_TIMEOUT   seconds allowed to a single end-to-end test (default 120)
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo_root"

fuzz_seconds=${LQ_FUZZ_SECONDS:-60}
test_timeout=${LQ_TEST_TIMEOUT:-300}
# shellcheck source=scripts/fuzz-lib.sh
source "$repo_root/scripts/fuzz-lib.sh"

# Runs a test preset with its output in the log; prints ctest's summary, or the whole log when a
# test failed (with the failed tests' own output, so that a failure seen once can be understood).
run_tests() {
    local preset=$1
    local log="$log_dir/ctest-$preset.log"
    mkdir -p "$log_dir"
    if ! ctest --preset "$preset" --timeout "$test_timeout" -j2 --output-on-failure >"$log" 2>&1; then
        cat "$log"
        return 1
    fi
    sed -n '/tests passed/,$p' "$log"
}

# The Windows programs must run from a bare folder: no MinGW runtime DLL may be imported.
check_windows_imports() {
    local exe dlls
    for exe in build/windows/app/Lanternquill.exe build/windows/tools/lanternquill/lanternquill.exe \
        build/windows/tools/pkr-sim/pkr-sim.exe build/windows/tools/win-probe/win-probe.exe \
        build/windows/tools/pkr-standin/pkr-standin.exe \
        build/windows/tests/lanternquill_tests.exe; do
        require_executable "$exe"
        dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')
        if grep -qiE '^lib(stdc\+\+|gcc|winpthread)' <<<"$dlls"; then
            echo "$exe needs a MinGW runtime DLL:" "$dlls"
            return 1
        fi
    done
}

track_phases

begin_phase setup
bash "$repo_root/scripts/setup.sh" build fuzz windows

# The include direction of the layers before any build, as it fails fast; after the setup, so that
# the MinGW-w64 compiler is there to say which headers are Windows headers.
begin_phase layers
bash "$repo_root/scripts/check-layers.sh"

begin_phase "build linux"
build_preset linux

begin_phase "test linux"
run_tests linux

begin_phase "build linux-asan"
build_preset linux-asan

begin_phase "test linux-asan"
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1} \
    UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    run_tests linux-asan

begin_phase "build linux-fuzz"
build_preset linux-fuzz --target "${fuzz_targets[@]}"

if [[ $fuzz_seconds -gt 0 ]]; then
    begin_phase "fuzz (${fuzz_seconds}s)"
    make_fuzz_seeds
    # A third of the second core's time to the cache loader, the rest to the seat reader.
    run_fuzzers "$fuzz_seconds" $((fuzz_seconds / 3)) $((fuzz_seconds - fuzz_seconds / 3))
fi

begin_phase "build windows"
build_preset windows
check_windows_imports
# The release archive builds and holds the programs, the layouts and the guide.
quietly package bash "$repo_root/scripts/package.sh"

begin_phase "start wine"
# shellcheck source=scripts/wine-env.sh
source "$repo_root/scripts/wine-env.sh"

begin_phase "test windows (wine)"
run_tests windows

begin_phase "e2e (wine)"
bash "$repo_root/tests/e2e/run.sh"
