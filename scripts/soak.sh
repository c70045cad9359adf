#!/usr/bin/env bash
# A longer soak of the Windows program than the end-to-end test's minute: live simulated tables
# under the stand-in PKR client, the tables switched every few seconds, the overlays hovered and
# dragged, the CTRL, ALT and SHIFT keys pressed; its GDI handles, windows and memory sampled every
# 5 seconds (tests/e2e/soak-lib.sh says how). Fails when a count or the memory grows past its bound
# after the warm-up. Needs the windows build and the linux build's pkr-sim and lanternquill.
#
# Usage: scripts/soak.sh [--seconds N] [--warmup N] [--help]
#
# --seconds: the soak's length (default 300); --warmup: seconds before the baseline sample
# (default 60). The soak must run at least 10 s past the warm-up, so that two samples follow the
# baseline; a shorter one is refused. LQ_SOAK_MAX_GDI_GROWTH, LQ_SOAK_MAX_WINDOW_GROWTH, LQ_SOAK_MAX_MEMORY_GROWTH_KB
# set the bounds; LQ_WINE_DIR another Wine prefix and display (to soak beside the tests).
# The samples and their summary go to build/soak/.
set -euo pipefail
seconds=300
warmup=60
while [[ $# -gt 0 ]]; do
    if [[ $1 != --help && $# -lt 2 ]]; then
        echo "soak.sh: $1 needs a value (see --help)" >&2
        exit 2
    fi
    case $1 in
        --seconds) seconds=$2 ;;
        --warmup) warmup=$2 ;;
        --help)
            sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
            exit 0
            ;;
        *)
            echo "soak.sh: unknown option $1 (see --help)" >&2
            exit 2
            ;;
    esac
    shift 2
done
[[ $seconds =~ ^[0-9]+$ && $warmup =~ ^[0-9]+$ ]] || {
    echo "soak.sh: --seconds and --warmup take whole seconds" >&2
    exit 2
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/common.sh
source "$here/common.sh"
# shellcheck source=tests/e2e/soak-lib.sh
source "$repo_root/tests/e2e/soak-lib.sh"
short=$(soak_too_short "$((10#$seconds))" "$((10#$warmup))")
if [[ -n $short ]]; then
    echo "soak.sh: $short" >&2
    exit 2
fi
# shellcheck source=tests/e2e/e2e-lib.sh
source "$repo_root/tests/e2e/e2e-lib.sh"
for required in "$app_exe" "$probe_exe" "$standin_exe" "$sim_path" "$cli_path"; do
    require_executable "$required"
done
# shellcheck source=scripts/wine-env.sh
source "$here/wine-env.sh"

# shellcheck disable=SC2034  # read by e2e-lib.sh
e2e_test_name=soak
e2e_work_dir="$repo_root/build/soak"
rm -rf "$e2e_work_dir"
mkdir -p "$e2e_work_dir"
soak_stop() {
    stop_standin
    stop_app
    kill "${soak_sim_pid:-}" 2>/dev/null || true
}
on_exit soak_stop
reset_registry
run_soak "$seconds" "$warmup" "$e2e_work_dir/samples.txt"
