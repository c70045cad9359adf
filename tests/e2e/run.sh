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
rm -rf "$screens_dir" "$e2e_root/logs"
mkdir -p "$e2e_root/logs"
passed=0
failed=0
for test in "${tests[@]}"; do
    if ! declare -F "e2e_test_$test" >/dev/null; then
        echo "no test named $test" >&2
        failed=$((failed + 1))
        continue
    fi
    log="$e2e_root/logs/$test.log"
    start=$SECONDS
    if timeout -k 5 "$timeout_seconds" bash "${BASH_SOURCE[0]}" --one "$test" >"$log" 2>&1; then
        passed=$((passed + 1))
        printf '  ok    %-60s %3ss\n' "$test" $((SECONDS - start))
    else
        status=$?
        failed=$((failed + 1))
        printf '  FAIL  %-60s %3ss\n' "$test" $((SECONDS - start))
        if [[ $status -eq 124 ]]; then
            echo "        timed out after ${timeout_seconds}s"
        fi
        sed 's/^/        /' "$log"
    fi
done

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
