#!/usr/bin/env bash
# Builds everything and runs every check: the native tests, the same tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, both fuzz targets for a bounded time, and the Windows build:
# its unit tests and its end-to-end tests under Wine on a virtual display. Installs what it needs
# first (as root, or with sudo), so it also runs on a fresh Debian machine.
#
# Environment:
#   LQ_FUZZ_SECONDS  time for each fuzz target (default 60; 0 builds the fuzzers without running)
#   LQ_TEST_TIMEOUT  seconds allowed to a single test (default 300)
#   LQ_E2E_TIMEOUT   seconds allowed to a single end-to-end test (default 120)
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo_root"

fuzz_seconds=${LQ_FUZZ_SECONDS:-60}
test_timeout=${LQ_TEST_TIMEOUT:-300}
fuzz_dir="$repo_root/build/linux-fuzz"
samples_dir="$repo_root/../shared/samples"

# Runs a test preset with its output in the log; prints ctest's summary, or the whole log when a
# test failed.
run_tests() {
    local preset=$1
    local log="$log_dir/ctest-$preset.log"
    mkdir -p "$log_dir"
    if ! ctest --preset "$preset" --timeout "$test_timeout" -j2 >"$log" 2>&1; then
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

# A minimal valid cache image: one counted hand, one player without counters, no file cache.
write_minimal_cache() {
    {
        printf 'Lanternquill_DEMOCACHEO05\n\0Lanternquill_HANDS\n\0'
        printf '\1\0\0\0\x2a\0\0\0'
        printf 'Lanternquill_PLAYERS\n\0\1\0\0\0'
        printf 'Seed\0' && head -c 19 /dev/zero
        printf 'Lanternquill_STATS\n\0'
        head -c 10564 /dev/zero
        printf 'Lanternquill_FILECACHE\n\0\0\0\0\0'
        printf 'Lanternquill_ENDOFDATA\n\0'
    } >"$1"
}

# Seed inputs, made fresh on every run: small simulated tables in both hand history formats, a
# cache file imported from them and a minimal cache image.
make_fuzz_seeds() {
    local seeds="$fuzz_dir/seeds"
    rm -rf "$seeds"
    mkdir -p "$seeds/cache"
    require_executable "$sim_path"
    require_executable "$cli_path"
    # Mixed games and stakes, a couple of hands per table: short inputs that still cover them all.
    quietly seeds-sim-earlier "$sim_path" --out "$seeds/history-earlier" --seed 11 \
        --tables 4 --hands 8
    quietly seeds-sim-later "$sim_path" --out "$seeds/history-later" --seed 12 \
        --tables 4 --hands 8 --later-format
    # Every player costs 10 KB in a cache file; two hands keep the imported seed small.
    quietly seeds-sim-cache "$sim_path" --out "$seeds/history-cache" --seed 13 --tables 1 --hands 2
    quietly seeds-cache "$cli_path" import --cache "$seeds/cache/imported.dat" \
        "$seeds/history-cache"
    write_minimal_cache "$seeds/cache/minimal.dat"
}

# fuzz_target NAME SEED_DIR...: runs one fuzz target for the configured time with its own
# growing corpus; prints its final numbers, or the end of its log and the crashing input's path.
fuzz_target() {
    local name=$1
    shift
    local corpus="$fuzz_dir/corpus/$name"
    local log="$log_dir/$name.log"
    mkdir -p "$corpus" "$fuzz_dir/artifacts"
    if ! "$fuzz_dir/fuzz/$name" -max_total_time="$fuzz_seconds" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$fuzz_dir/artifacts/$name-" \
        "$corpus" "$@" >"$log" 2>&1; then
        echo "---- $name failed; last 80 lines of $log ----"
        tail -n 80 "$log"
        echo "---- reproduce with: $fuzz_dir/fuzz/$name <the crash file named above>"
        return 1
    fi
    # The last status line ("#N<tab>DONE   cov: ... ft: ... corp: ... lim: ...") without its tail.
    local coverage speed
    coverage=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 |
        sed -E 's/.*DONE[[:space:]]+//; s/[[:space:]]+lim:.*//' || true)
    speed=$(awk '/^stat::average_exec_per_sec:/ {print $2}' "$log")
    echo "  $name: ${speed:-?} inputs/s for ${fuzz_seconds}s, ${coverage:-no final status}"
}

run_fuzzers() {
    local history_seeds=("$fuzz_dir/seeds/history-earlier" "$fuzz_dir/seeds/history-later")
    if [[ -d $samples_dir ]]; then
        history_seeds+=("$samples_dir")
    fi
    # One core each: the two targets run side by side.
    fuzz_target fuzz_parse_history -dict="$repo_root/fuzz/parse_history.dict" \
        "${history_seeds[@]}" &
    local parse_pid=$!
    fuzz_target fuzz_load_cache "$fuzz_dir/seeds/cache" &
    local cache_pid=$!
    local failed=0
    wait "$parse_pid" || failed=1
    wait "$cache_pid" || failed=1
    return "$failed"
}

track_phases

# The include direction of the layers first: it needs no build and fails fast.
begin_phase layers
bash "$repo_root/scripts/check-layers.sh"

begin_phase setup
bash "$repo_root/scripts/setup.sh" build fuzz windows

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
build_preset linux-fuzz --target fuzz_parse_history fuzz_load_cache

if [[ $fuzz_seconds -gt 0 ]]; then
    begin_phase "fuzz (${fuzz_seconds}s each)"
    make_fuzz_seeds
    run_fuzzers
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
