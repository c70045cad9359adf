# shellcheck shell=bash
# The fuzz targets' seeds and runs, shared by scripts/test.sh (a short run) and
# scripts/fuzz-long.sh (a long one); sourced, not run. Needs the linux build's pkr-sim and
# lanternquill for the seeds, and the linux-fuzz build's targets.

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fuzz_dir="$repo_root/build/linux-fuzz"
samples_dir="$repo_root/../shared/samples"
# shellcheck disable=SC2034  # for the scripts that build them
fuzz_targets=(fuzz_parse_history fuzz_load_cache fuzz_seat_reader)

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

# fuzz_target NAME SECONDS SEED_DIR...: runs one fuzz target for SECONDS (at least 1: libFuzzer
# takes 0 as no limit) with its own growing corpus; prints its final numbers, or the end of its
# log and the crashing input's path.
fuzz_target() {
    local name=$1
    local seconds=$(($2 > 0 ? $2 : 1))
    shift 2
    local corpus="$fuzz_dir/corpus/$name"
    local log="$log_dir/$name.log"
    mkdir -p "$corpus" "$fuzz_dir/artifacts"
    if ! "$fuzz_dir/fuzz/$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
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
    echo "  $name: ${speed:-?} inputs/s for ${seconds}s, ${coverage:-no final status}"
}

# run_fuzzers PARSE_SECONDS CACHE_SECONDS SEAT_SECONDS: one core each side by side, the parser's
# target on one, the cache loader's and then the seat reader's on the other. Both history
# targets start from the simulated tables and, when present, the real samples (read in place).
run_fuzzers() {
    local history_seeds=("$fuzz_dir/seeds/history-earlier" "$fuzz_dir/seeds/history-later")
    if [[ -d $samples_dir ]]; then
        history_seeds+=("$samples_dir")
    fi
    fuzz_target fuzz_parse_history "$1" -dict="$repo_root/fuzz/parse_history.dict" \
        "${history_seeds[@]}" &
    local parse_pid=$!
    {
        local failed=0
        fuzz_target fuzz_load_cache "$2" "$fuzz_dir/seeds/cache" || failed=1
        fuzz_target fuzz_seat_reader "$3" -dict="$repo_root/fuzz/seat_reader.dict" \
            "${history_seeds[@]}" || failed=1
        exit "$failed"
    } &
    local second_pid=$!
    local failed=0
    wait "$parse_pid" || failed=1
    wait "$second_pid" || failed=1
    return "$failed"
}
