# shellcheck shell=bash
# Shared by the scripts in this folder (sourced, not run): the repository root, quiet command
# runs whose log is shown only on failure, and timed phases with a summary at the end.

# Sourced once per script: a second time would forget the phases and exit hooks recorded so far.
if [[ -n ${lq_common_sourced:-} ]]; then
    return 0
fi
lq_common_sourced=1

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
log_dir="$repo_root/build/logs"
# shellcheck disable=SC2034  # the tools' paths are for the scripts that source this file
cli_path="$repo_root/build/linux/tools/lanternquill/lanternquill"
# shellcheck disable=SC2034
sim_path="$repo_root/build/linux/tools/pkr-sim/pkr-sim"

# quietly LOG COMMAND...: runs COMMAND with its output in build/logs/LOG.log; on failure shows
# the end of that log and fails.
quietly() {
    local log="$log_dir/$1.log"
    shift
    mkdir -p "$log_dir"
    if ! "$@" >"$log" 2>&1; then
        echo "---- last 150 lines of $log ----"
        tail -n 150 "$log"
        echo "---- failed: $*"
        return 1
    fi
}

# Configures and builds a preset quietly (extra arguments go to the build, e.g. --target).
build_preset() {
    local preset=$1
    shift
    quietly "configure-$preset" cmake --preset "$preset"
    quietly "build-$preset" cmake --build --preset "$preset" -j2 "$@"
}

require_executable() {
    if [[ ! -x $1 ]]; then
        echo "missing executable $1 (did the build produce it?)" >&2
        return 1
    fi
}

# Timed phases. begin_phase NAME starts one (ending the previous); the EXIT trap installed by
# track_phases ends the last one and prints the table, marking the running phase as failed when
# the script exits with an error.
phase_names=()
phase_seconds=()
phase_results=()
current_phase=""
current_phase_start=0

end_phase() {
    local result=$1
    if [[ -n $current_phase ]]; then
        phase_names+=("$current_phase")
        phase_seconds+=($((SECONDS - current_phase_start)))
        phase_results+=("$result")
        current_phase=""
    fi
}

begin_phase() {
    end_phase ok
    current_phase=$1
    current_phase_start=$SECONDS
    echo "== $1"
}

print_phase_line() {
    printf '  %-24s %6ss  %s\n' "$1" "$2" "$3"
}

print_phase_summary() {
    local status=$1
    if [[ $status -eq 0 ]]; then
        end_phase ok
    else
        end_phase FAILED
    fi
    echo
    echo "== summary"
    local i
    for i in "${!phase_names[@]}"; do
        print_phase_line "${phase_names[$i]}" "${phase_seconds[$i]}" "${phase_results[$i]}"
    done
    print_phase_line total "$SECONDS" "$([[ $status -eq 0 ]] && echo ok || echo FAILED)"
}

track_phases() {
    SECONDS=0
    on_exit print_phase_summary
}

# on_exit FUNCTION: runs FUNCTION with the script's exit status when the script exits, after the
# functions registered later (so what was set up last is torn down first). One EXIT trap serves
# all of them, as a second `trap ... EXIT` would replace the first.
exit_hooks=()
run_exit_hooks() {
    local status=$?
    local i
    for ((i = ${#exit_hooks[@]} - 1; i >= 0; i--)); do
        "${exit_hooks[$i]}" "$status" || true
    done
}
on_exit() {
    exit_hooks+=("$1")
    trap run_exit_hooks EXIT
}
