#!/usr/bin/env bash
# End-to-end tests of the Windows program under Wine, driven the way a user drives it: real key
# presses and clicks (xdotool) on a virtual display, the dialogs read back with win-probe, the
# registry read and seeded with `wine reg`. Screenshots go to build/e2e-screens.
#
# Needs the windows build (Lanternquill.exe, win-probe.exe) and the linux build's pkr-sim and
# lanternquill (they make the cache file the program reads). Starts its own display and Wine
# server unless it runs inside a shell that sourced scripts/wine-env.sh.
#
# Usage: tests/e2e/run.sh [TEST...]   (default: every test; names without the e2e_test_ prefix)
# Environment: LQ_E2E_TIMEOUT  seconds allowed to one test (default 120)
set -euo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/common.sh
source "$e2e_dir/../../scripts/common.sh"
# shellcheck source=tests/e2e/e2e-lib.sh
source "$e2e_dir/e2e-lib.sh"
for tests_file in "$e2e_dir"/*_tests.sh; do
    # shellcheck source=/dev/null
    source "$tests_file"
done

e2e_root="$repo_root/build/e2e"

# --one NAME: runs one test in this process (the runner starts one process per test, so that a
# test is stopped as a whole when it hangs and leaves nothing behind in the next one).
if [[ ${1:-} == --one ]]; then
    e2e_test_name=$2
    e2e_work_dir="$e2e_root/work/$e2e_test_name"
    # A folder a test made unwritable (chattr +i) stays so when the test was killed before its
    # cleanup.
    chattr -R -i "$e2e_work_dir" >/dev/null 2>&1 || true
    rm -rf "$e2e_work_dir"
    mkdir -p "$e2e_work_dir"
    trap stop_app EXIT
    # A command that fails outside the checks ends the test through `set -e`: say which.
    set -E
    trap 'echo "FAILED: \"$BASH_COMMAND\" returned $? (${BASH_SOURCE[0]##*/}:$LINENO)" >&2' ERR
    reset_registry
    "e2e_test_$e2e_test_name"
    exit 0
fi

for required in "$app_exe" "$probe_exe" "$standin_exe" "$sim_path" "$cli_path"; do
    require_executable "$required"
done

if [[ $# -gt 0 ]]; then
    tests=("$@")
else
    mapfile -t tests < <(declare -F | awk '$3 ~ /^e2e_test_/ {sub(/^e2e_test_/, "", $3); print $3}')
fi

# shellcheck source=scripts/wine-env.sh
source "$repo_root/scripts/wine-env.sh"

timeout_seconds=${LQ_E2E_TIMEOUT:-120}

# The Windows programs of this prefix still running, "pid program" per line, other than the
# Wine services that live as long as the server (the desktop among them).
wine_services='^c:\\windows\\system32\\(services|winedevice|plugplay|svchost|rpcss|explorer)\.exe$'
wine_programs_left() {
    local pid exe
    for pid in $(pgrep -f -i '\.exe'); do
        grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null || continue
        IFS= read -r -d '' exe <"/proc/$pid/cmdline" 2>/dev/null || continue
        if [[ ${exe,,} == *.exe && ! ${exe,,} =~ $wine_services ]]; then
            echo "$pid ${exe##*[\\/]}"
        fi
    done
}

# end_leftovers: after a test, every program it started must have ended: the next test would
# otherwise share the desktop with its windows, which can take the keyboard or answer a caption
# search. Leftovers get a few seconds to end by themselves (a program asked to quit), then are
# killed and named; the test that left them fails. Keys and buttons a failed test held down
# are released.
end_leftovers() {
    xdotool keyup shift ctrl alt super 2>/dev/null || true
    local deadline=$((SECONDS + 5)) left pid
    while left=$(wine_programs_left) && [[ -n $left ]] && ((SECONDS < deadline)); do
        sleep 0.2
    done
    [[ -z $left ]] && return 0
    while read -r pid _; do
        kill -KILL "$pid" 2>/dev/null || true
    done <<<"$left"
    echo "FAILED: the test left running: $(cut -d' ' -f2- <<<"$left" | paste -sd,)"
    return 1
}

rm -rf "$screens_dir" "$e2e_root/logs"
mkdir -p "$e2e_root/logs"
passed=0
failed=0
skipped=0
for test in "${tests[@]}"; do
    if ! declare -F "e2e_test_$test" >/dev/null; then
        echo "no test named $test" >&2
        failed=$((failed + 1))
        continue
    fi
    log="$e2e_root/logs/$test.log"
    start=$SECONDS
    status=0
    timeout -k 5 "$timeout_seconds" bash "${BASH_SOURCE[0]}" --one "$test" >"$log" 2>&1 ||
        status=$?
    if ! end_leftovers >>"$log" 2>&1 && [[ $status -eq 0 ]]; then
        status=1
    fi
    if [[ $status -eq 0 ]]; then
        passed=$((passed + 1))
        printf '  ok    %-60s %3ss\n' "$test" $((SECONDS - start))
    elif [[ $status -eq $e2e_skip_status ]]; then
        skipped=$((skipped + 1))
        printf '  skip  %-60s %3ss\n' "$test" $((SECONDS - start))
        sed -n 's/^SKIPPED: /        /p' "$log"
    else
        failed=$((failed + 1))
        printf '  FAIL  %-60s %3ss\n' "$test" $((SECONDS - start))
        if [[ $status -eq 124 ]]; then
            echo "        timed out after ${timeout_seconds}s"
        fi
        sed 's/^/        /' "$log"
    fi
done

echo "$passed passed, $skipped skipped, $failed failed"
[[ $failed -eq 0 ]]
