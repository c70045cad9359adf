# shellcheck shell=bash
# Helpers of the end-to-end tests (sourced by run.sh in the process that runs one test): start
# the Windows program under Wine, look into its dialogs with win-probe, press keys and click with
# xdotool, read and write the registry with `wine reg`, and fail with a clear message.
#
# Every wait polls with a deadline, so a slow machine only makes a test slower, never wrong.
# run.sh sets e2e_test_name and e2e_work_dir (the test's own folder, the program's current one).

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

windows_build="$repo_root/build/windows"
app_exe="$windows_build/app/Lanternquill.exe"
probe_exe="$windows_build/tools/win-probe/win-probe.exe"
screens_dir="$repo_root/build/e2e-screens"
settings_key='HKCU\Software\Quillworks\Lanternquill'
options_key="$settings_key\\Options"
# shellcheck disable=SC2034  # the captions are for the *_tests.sh files
options_caption="Lanternquill Options"
# shellcheck disable=SC2034  # (the full caption carries a code page 1252 trademark sign)
panel_caption="Information Panel"

# Seconds to wait for a window or for the program to end (a cold Wine desktop takes a few).
e2e_wait_seconds=${LQ_E2E_WAIT_SECONDS:-30}

app_pid=""
screen_count=0

fail() {
    echo "FAILED: $*" >&2
    screenshot failure
    exit 1
}

# screenshot LABEL: the whole virtual screen, for people to look at after the run.
screenshot() {
    mkdir -p "$screens_dir"
    screen_count=$((screen_count + 1))
    /usr/bin/import -window root "$screens_dir/${e2e_test_name:?}-$screen_count-$1.png" \
        2>/dev/null || true
}

# Converts a path of this machine into the name Windows programs under Wine see (drive Z:).
wine_path() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s\n' "${path//\//\\}"
}

probe() {
    wine "$probe_exe" "$@" </dev/null
}

# start_app [ARG...]: runs Lanternquill.exe in the background in the test's own work folder.
start_app() {
    (cd "${e2e_work_dir:?}" && exec wine "$app_exe" "$@" </dev/null >>app.log 2>&1) &
    app_pid=$!
}

# expect_exit STATUS: waits for the program to end and checks its exit status.
expect_exit() {
    local want=$1
    local deadline=$((SECONDS + e2e_wait_seconds))
    while kill -0 "$app_pid" 2>/dev/null; do
        if ((SECONDS >= deadline)); then
            fail "the program did not end within ${e2e_wait_seconds}s"
        fi
        sleep 0.05
    done
    local status=0
    wait "$app_pid" || status=$?
    app_pid=""
    if [[ $status -ne $want ]]; then
        fail "the program ended with status $status, expected $want"
    fi
}

# Ends a program a failed test left running (only the one this test started).
stop_app() {
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill -KILL "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    app_pid=""
}

# wait_active CAPTION: the window is shown and has the keyboard.
wait_active() {
    probe wait-active "$1" $((e2e_wait_seconds * 1000)) >/dev/null ||
        fail "no active window \"$1\""
}

# read_controls CAPTION: loads the dialog's controls into the arrays control_check, control_text
# and control_center ("x y"), indexed by control id.
declare -A control_check control_text control_center
read_controls() {
    local listing
    listing=$(probe controls "$1") || fail "cannot read the controls of \"$1\""
    control_check=()
    control_text=()
    control_center=()
    local control check x y w h text
    while IFS=$'\t' read -r control _ check x y w h text; do
        control_check[$control]=$check
        control_text[$control]=$text
        control_center[$control]="$((x + w / 2)) $((y + h / 2))"
    done <<<"$listing"
}

# expect_checks CAPTION ID=STATE...: polls until every box has its state (input is processed
# asynchronously), failing with the states seen last.
expect_checks() {
    local caption=$1
    shift
    local deadline=$((SECONDS + e2e_wait_seconds))
    local pair wrong
    while true; do
        read_controls "$caption"
        wrong=()
        for pair in "$@"; do
            if [[ ${control_check[${pair%%=*}]:-missing} != "${pair#*=}" ]]; then
                wrong+=("${pair%%=*}=${control_check[${pair%%=*}]:-missing} (want ${pair#*=})")
            fi
        done
        if [[ ${#wrong[@]} -eq 0 ]]; then
            return 0
        fi
        if ((SECONDS >= deadline)); then
            fail "check boxes of \"$caption\": ${wrong[*]}"
        fi
        sleep 0.1
    done
}

# expect_text CAPTION ID TEXT: polls until the control shows exactly TEXT.
expect_text() {
    local deadline=$((SECONDS + e2e_wait_seconds))
    while true; do
        read_controls "$1"
        if [[ ${control_text[$2]:-} == "$3" ]]; then
            return 0
        fi
        if ((SECONDS >= deadline)); then
            fail "control $2 of \"$1\" shows \"${control_text[$2]:-}\", expected \"$3\""
        fi
        sleep 0.1
    done
}

# click CAPTION ID: a left click in the middle of the control, with the real mouse.
click() {
    read_controls "$1"
    local center=${control_center[$2]:-}
    [[ -n $center ]] || fail "no control $2 in \"$1\""
    # No --sync: it waits for a pointer motion that never comes when the pointer is already there.
    # shellcheck disable=SC2086  # "x y"
    xdotool mousemove $center click 1
}

keys() {
    xdotool key --delay 30 "$@"
}

# replace_text CAPTION ID TEXT: types TEXT into an edit box in place of its content.
replace_text() {
    click "$1" "$2"
    keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 30 "$3"
    expect_text "$1" "$2" "$3"
}

# Registry. `wine reg` writes CR LF lines.
reset_registry() {
    wine reg delete "$settings_key" /f </dev/null >/dev/null 2>&1 || true
}

reg_add() {
    wine reg add "$@" /f </dev/null >/dev/null 2>&1 || fail "wine reg add $*"
}

# Loads the values of the Options section into reg_type and reg_data (by value name).
declare -A reg_type reg_data
read_options() {
    reg_type=()
    reg_data=()
    local name type data
    while read -r name type data; do
        if [[ $type == REG_* ]]; then
            reg_type[$name]=$type
            reg_data[$name]=$data
        fi
    done < <(wine reg query "$options_key" </dev/null 2>/dev/null | tr -d '\r')
}

# expect_options NAME=NUMBER...: exactly these REG_DWORD values and no others in Options.
expect_options() {
    read_options
    local pair name want
    for pair in "$@"; do
        name=${pair%%=*}
        want=${pair#*=}
        [[ ${reg_type[$name]:-missing} == REG_DWORD ]] ||
            fail "Options\\$name is ${reg_type[$name]:-missing}, expected REG_DWORD"
        (($(printf '%d' "${reg_data[$name]}") == want)) ||
            fail "Options\\$name is ${reg_data[$name]}, expected $want"
    done
    [[ ${#reg_type[@]} -eq $# ]] ||
        fail "Options holds ${#reg_type[@]} values (${!reg_type[*]}), expected $#"
}

expect_no_options() {
    read_options
    [[ ${#reg_type[@]} -eq 0 ]] || fail "Options holds values: ${!reg_type[*]}"
}

# expect_option NAME NUMBER: one REG_DWORD value of Options, whatever else is there.
expect_option() {
    read_options
    [[ ${reg_type[$1]:-missing} == REG_DWORD ]] ||
        fail "Options\\$1 is ${reg_type[$1]:-missing}, expected REG_DWORD"
    (($(printf '%d' "${reg_data[$1]}") == $2)) ||
        fail "Options\\$1 is ${reg_data[$1]}, expected $2"
}

# expect_text_contains CAPTION ID TEXT: polls until the control's text contains TEXT.
expect_text_contains() {
    local deadline=$((SECONDS + e2e_wait_seconds))
    while true; do
        read_controls "$1"
        if [[ ${control_text[$2]:-} == *"$3"* ]]; then
            return 0
        fi
        if ((SECONDS >= deadline)); then
            fail "control $2 of \"$1\" shows \"${control_text[$2]:-}\", without \"$3\""
        fi
        sleep 0.1
    done
}

# The control ids, by their names in resources/resource.h, and the two standard buttons.
declare -A id
# shellcheck disable=SC2034  # the ids are for the *_tests.sh files
load_control_ids() {
    local name value
    while read -r _ name value _; do
        id[$name]=$value
    done < <(grep -E '^#define (IDC|IDD)_[A-Z0-9_]+ +[0-9]+' "$repo_root/resources/resource.h")
    id[IDOK]=1
    id[IDCANCEL]=2
}
load_control_ids
