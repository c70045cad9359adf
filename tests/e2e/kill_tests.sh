# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# Hard kills lose nothing. SIGKILL of the program's process ends it at once, as a hard kill on
# Windows does: whatever it was writing stays as it was at that moment. The cache file must then
# still be the previous one or the new one, never a broken one, and after a later clean exit the
# counters must be what the command-line tool gets from the same folders: no hand lost, none
# counted twice. Sourced by run.sh.

kill_cache="LanternquillCache_Trial.dat"

kill_app() {
    kill -KILL "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}

# expect_cache_is_one_of SNAPSHOT...: the cache file loads in the tool, nothing was set aside as
# rejected, and its counters are those of one of the SNAPSHOT files (cache_counters' output), when
# any are given.
expect_cache_is_one_of() {
    local cache="$e2e_work_dir/$kill_cache" now="$e2e_work_dir/now.counters" snapshot rejected
    rejected=$(cd "$e2e_work_dir" && echo "$kill_cache".rejected*)
    [[ $rejected == "$kill_cache.rejected*" ]] || fail "a cache file was rejected: $rejected"
    "$cli_path" dump "$cache" >/dev/null 2>&1 || fail "the cache file does not load"
    [[ $# -gt 0 ]] || return 0
    cache_counters "$cache" >"$now"
    for snapshot in "$@"; do
        cmp -s "$now" "$snapshot" && return 0
    done
    fail "the cache file holds the counters of neither $*"
}

# kill_during_write BYTES: once the program writes its new cache file beside the old one, kills
# it as soon as BYTES of it are written (polled every half millisecond: a shell loop that forks
# for each look misses most of a write that takes a fraction of a second). Sets kill_outcome to
# what was left behind: "killed with N bytes of the new file written", "killed after the new file
# was in place" or "ended by itself".
kill_during_write() {
    local tmp="$e2e_work_dir/$kill_cache.tmp" status=0
    # shellcheck disable=SC2016  # Perl's variables
    perl -e 'my ($pid, $file, $bytes, $seconds) = @ARGV;
        my $deadline = time + $seconds;
        while (kill(0, $pid) && time < $deadline) {
            my $size = -s $file;
            if (defined $size && $size >= $bytes) { kill 9, $pid; exit 0 }
            select(undef, undef, undef, 0.0005);
        }
        exit(kill(0, $pid) ? 2 : 1)' "$app_pid" "$tmp" "$1" "$e2e_wait_seconds" || status=$?
    ((status != 2)) || fail "the program wrote no cache file within ${e2e_wait_seconds}s"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    if ((status == 1)); then
        kill_outcome="ended by itself"
    elif [[ -e $tmp ]]; then
        kill_outcome="killed with $(stat -c %s "$tmp") bytes of the new file written"
    else
        kill_outcome="killed after the new file was in place"
    fi
}

e2e_test_kill_while_the_cache_is_written_leaves_the_previous_or_the_new_one() {
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 81 --tables 3 --hands 300 >/dev/null || fail "pkr-sim"
    # A cache of some thousands of players, so that writing it takes a while.
    local kept="$e2e_work_dir/kept" cache="$e2e_work_dir/$kill_cache"
    "$sim_path" --out "$kept" --seed 82 --tables 20 --hands 30000 --players 20000 >/dev/null ||
        fail "pkr-sim"
    "$cli_path" import --cache "$cache" "$kept" >/dev/null 2>&1 || fail "cannot write a cache file"
    cache_counters "$cache" >"$e2e_work_dir/previous.counters"
    "$cli_path" import --cache "$e2e_work_dir/new.dat" "$kept" "$history_dir" >/dev/null 2>&1 ||
        fail "reference import"
    cache_counters "$e2e_work_dir/new.dat" >"$e2e_work_dir/new.counters"
    local size percent midway=0
    size=$(stat -c %s "$cache")
    # Killed early, half-way and near the end of the write.
    for percent in 2 50 90; do
        start_with_cache
        close_main
        kill_during_write $((size * percent / 100))
        echo "at $percent% of $size bytes: $kill_outcome"
        [[ $kill_outcome == "killed with"* ]] && midway=$((midway + 1))
        expect_cache_is_one_of "$e2e_work_dir/previous.counters" "$e2e_work_dir/new.counters"
    done
    ((midway > 0)) || fail "no kill landed while the cache file was written"
    # The next start loads what is there and, at a clean exit, saves every hand once.
    start_with_cache
    close_main
    expect_exit 0
    expect_cache_is_one_of "$e2e_work_dir/new.counters"
    [[ ! -e $cache.tmp ]] || fail "the clean exit left $kill_cache.tmp behind"
}

e2e_test_kill_at_random_moments_of_a_live_session_loses_and_doubles_no_hand() {
    use_pkr_install
    # The tables are played through every round and stopped before the last start. A file whose
    # last write falls in the second an import read it, with a saved exit after that read, is
    # passed over by a later start's full import (file times have whole seconds): its last
    # hands are then lost, and this test fails.
    "$sim_path" --out "$history_dir" --live --pace 100 --tables 3 --live-seconds 120 --seed 83 \
        >"$e2e_work_dir/live.log" 2>&1 &
    kill_sim_pid=$!
    trap 'kill "$kill_sim_pid" 2>/dev/null || true; stop_app' EXIT
    start_with_cache
    close_main
    expect_exit 0
    # Each moment is logged, and LQ_KILL_SEED replays a run's moments.
    local seed=${LQ_KILL_SEED:-$$}
    RANDOM=$seed
    echo "kill seed $seed"
    local round delay_ms
    for round in 1 2 3 4; do
        start_app
        if ((round % 2)); then
            # Anywhere from the start through the first import and the refreshes after it.
            delay_ms=$((500 + RANDOM % 6000))
        else
            # Into the exit and its cache write.
            wait_active "$panel_caption"
            close_panel
            close_main
            delay_ms=$((RANDOM % 300))
        fi
        sleep "$((delay_ms / 1000)).$(printf '%03d' $((delay_ms % 1000)))"
        echo "round $round: killed after $delay_ms ms"
        kill_app
        expect_cache_is_one_of
    done
    kill "$kill_sim_pid"
    wait "$kill_sim_pid" 2>/dev/null || true
    start_with_cache
    close_main
    expect_exit 0
    expect_cache_is_one_of
    expect_same_counters "$e2e_work_dir/$kill_cache" "$e2e_work_dir/kept" "$history_dir"
}
