# shellcheck shell=bash
# A short soak (about a minute): see soak-lib.sh; scripts/soak.sh runs it for longer. Sourced by
# run.sh.

# shellcheck source=tests/e2e/soak-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/soak-lib.sh"

e2e_test_soak_switching_hovering_and_keys_leak_no_handles_or_memory() {
    trap 'stop_standin; stop_app; kill "${soak_sim_pid:-}" 2>/dev/null || true' EXIT
    run_soak "${LQ_SOAK_SECONDS:-35}" "${LQ_SOAK_WARMUP:-10}" "$e2e_work_dir/samples.txt"
}
