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
# shellcheck disable=SC2034  # for the *_tests.sh files
standin_exe="$windows_build/tools/pkr-standin/pkr-standin.exe"
# shellcheck disable=SC2034  # the Windows build of the command-line tool
win_cli_exe="$windows_build/tools/lanternquill/lanternquill.exe"
screens_dir="$repo_root/build/e2e-screens"
settings_key='HKCU\Software\Quillworks\Lanternquill'
options_key="$settings_key\\Options"
# shellcheck disable=SC2034  # the captions are for the *_tests.sh files
options_caption="Lanternquill Options"
# shellcheck disable=SC2034  # (the full caption carries a code page 1252 trademark sign)
panel_caption="Information Panel"
# shellcheck disable=SC2034
main_caption="V1.16"
# shellcheck disable=SC2034
importer_caption="Lanternquill History Importer"
# shellcheck disable=SC2034
hotzone_caption="Mini-Table Hot Zone"
# shellcheck disable=SC2034
cache_message_caption="Lanternquill Statistics"
pkr_key='HKCU\Software\PKR'
# The client's machine key; its installer, a 32-bit program, writes it in the 32-bit view.
machine_pkr_key='HKLM\SOFTWARE\PKR'
# Wine's own programs by their full paths: a bare name ("wine reg") is first looked up by
# start.exe through ShellExecuteEx, which now and then fails on a busy machine ("ShellExecuteEx
# failed: Internal error") before the program runs at all.
reg_exe='C:\windows\system32\reg.exe'
# shellcheck disable=SC2034  # for the *_tests.sh files
regedit_exe='C:\windows\regedit.exe'
# shellcheck disable=SC2034
notepad_exe='C:\windows\system32\notepad.exe'
overlay_section="$settings_key\\OverlayPos_1920x1080"

# Seconds to wait for a window or for the program to end (a cold Wine desktop takes a few).
e2e_wait_seconds=${LQ_E2E_WAIT_SECONDS:-30}

app_pid=""
screen_count=0

fail() {
    echo "FAILED: $*" >&2
    screenshot failure
    desktop_windows >&2
    exit 1
}

# skip REASON: ends a test that cannot run on this machine; run.sh reports it as skipped.
e2e_skip_status=77
skip() {
    echo "SKIPPED: $*" >&2
    exit "$e2e_skip_status"
}

# desktop_windows: the visible top-level windows, for a failure to show what was on the screen
# ("handle visible topmost x y w h class caption"; nothing when they cannot be read).
desktop_windows() {
    local windows
    windows=$(timeout 10 wine "$probe_exe" owned '*' </dev/null 2>/dev/null | awk -F'\t' '$2 == 1')
    [[ -n $windows ]] && printf 'visible windows:\n%s\n' "$windows"
    return 0
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

# start_app [ARG...]: runs Lanternquill.exe in the background with the folder app_dir as its
# current folder (where it keeps its cache file), by default the test's own work folder; its
# output goes to app.log in the work folder, so app_dir may be a folder nobody can write.
app_dir=""
# shellcheck disable=SC2120  # the arguments come from the *_tests.sh files
start_app() {
    local dir=${app_dir:-${e2e_work_dir:?}}
    # The program runs in a folder of its own that holds the default layouts, as an installed
    # one does.
    cp -n "$windows_build/app/RestoreOverlayPositions.reg" "$dir/" 2>/dev/null || true
    (cd "$dir" && exec wine "$app_exe" "$@" </dev/null >>"$e2e_work_dir/app.log" 2>&1) &
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
    wine "$reg_exe" delete "$settings_key" /f </dev/null >/dev/null 2>&1 || true
    wine "$reg_exe" delete "$pkr_key" /f </dev/null >/dev/null 2>&1 || true
    # A machine key left behind would decide the folder of every later test.
    local view
    for view in 32 64; do
        wine "$reg_exe" delete "$machine_pkr_key" /f "/reg:$view" </dev/null >/dev/null 2>&1 || true
    done
}

reg_add() {
    local output status=0
    # Wine's own error messages too, so that a failure that reg itself does not explain is.
    output=$(WINEDEBUG=err+all wine "$reg_exe" add "$@" /f </dev/null 2>&1) || status=$?
    ((status == 0)) || fail "wine reg add $* ended with status $status: $output"
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
    done < <(wine "$reg_exe" query "$options_key" </dev/null 2>/dev/null | tr -d '\r')
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

# use_pkr_install: a PKR install folder of this test inside the Wine prefix, named in the PKR
# client's registry key; sets history_dir to its (empty) hand history folder, as Linux sees it.
use_pkr_install() {
    local install="pkr-${e2e_test_name:?}"
    history_dir="$WINEPREFIX/drive_c/$install/handhistory"
    rm -rf "$WINEPREFIX/drive_c/$install"
    mkdir -p "$history_dir"
    reg_add "$pkr_key" /v InstallDirectory /t REG_SZ /d "C:\\$install"
}

# pkr_install_with_table NAME SEED: a PKR install folder C:\NAME in the Wine prefix whose hand
# history folder holds one table played now; prints that table's name.
pkr_install_with_table() {
    local folder="$WINEPREFIX/drive_c/$1/handhistory"
    rm -rf "${WINEPREFIX:?}/drive_c/$1"
    mkdir -p "$folder"
    "$sim_path" --out "$folder" --seed "$2" --tables 1 --hands 12 >/dev/null || fail "pkr-sim"
    basename "$(find "$folder" -name '*.txt' -path '*/20*' | head -1)" .txt
}

# expect_first_start_lists TABLE FOLDER: a first start (no cache file) counts one table in its
# message, names FOLDER (as Windows sees it) in the information panel and lists TABLE.
expect_first_start_lists() {
    start_app
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 \
        "You have 1 tables of hand history in this period."
    read_controls "$importer_caption"
    [[ ${control_text[65535]} != *"not found"* ]] ||
        fail "the message reports a missing folder: ${control_text[65535]}"
    keys Return
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" "\\nHand history folder: $2"
    [[ ${control_text[${id[IDC_INFO_TEXT]}]} != *"(not found)"* ]] ||
        fail "the panel reports a missing folder: ${control_text[${id[IDC_INFO_TEXT]}]}"
    screenshot "panel-$1"
    close_panel
    expect_list_count 1
    [[ $(list_lines | sed 's/^..//') == "$1" ]] || fail "the table list holds \"$(list_lines)\""
    close_main
    expect_exit 0
}

# start_with_cache: starts the program with a cache file of a few hands (kept_hands of them, from
# a folder the program does not scan), so no first-run message, and waits through its first import
# cycle, which ends with the information panel.
kept_hands=20
start_with_cache() {
    if [[ ! -f $e2e_work_dir/LanternquillCache_Trial.dat ]]; then
        "$sim_path" --out "$e2e_work_dir/kept" --seed 77 --tables 1 --hands "$kept_hands" \
            >/dev/null || fail "pkr-sim"
        "$cli_path" import --cache "$e2e_work_dir/LanternquillCache_Trial.dat" \
            "$e2e_work_dir/kept" >/dev/null 2>&1 || fail "cannot write a cache file"
    fi
    # shellcheck disable=SC2119  # no arguments: the normal start
    start_app
    wait_active "$panel_caption"
    close_panel
    wait_active "$main_caption"
}

# main_window_below_the_table: the main window's stored position at the bottom right, right of
# the stand-in client's table window and below its mini-table views, in the column the views take
# (1920 less the main window's 177 pixels). Wine stacks a window it has just activated above a
# topmost one, so the windows must not overlap where the tests click or the switching samples.
main_window_below_the_table() {
    reg_add "$settings_key\\MainWindow" /v PosX /t REG_DWORD /d 1743
    reg_add "$settings_key\\MainWindow" /v PosY /t REG_DWORD /d 860
}

# close_main: closes the main window as its close box does.
close_main() {
    probe close "$main_caption" >/dev/null || fail "no main window to close"
}

# list_lines: the table list's lines (the selected one starts with "> ").
list_lines() {
    probe list "$main_caption" "${id[IDC_TABLES]}"
}

# expect_list_count N: polls until the table list has N lines.
expect_list_count() {
    local deadline=$((SECONDS + e2e_wait_seconds)) lines
    while true; do
        lines=$(list_lines) || fail "cannot read the table list"
        if [[ $(grep -c '' <<<"$lines") -eq $1 && -n $lines ]] || [[ $1 -eq 0 && -z $lines ]]; then
            return 0
        fi
        if ((SECONDS >= deadline)); then
            fail "the table list holds \"$lines\", expected $1 lines"
        fi
        sleep 0.2
    done
}

# expect_list LINE...: polls until the table list is exactly these lines ("> " marks the
# selected one, "  " the others).
expect_list() {
    local want deadline=$((SECONDS + e2e_wait_seconds)) lines
    want=$(printf '%s\n' "$@")
    while true; do
        lines=$(list_lines) || fail "cannot read the table list"
        if [[ $lines == "$want" ]]; then
            return 0
        fi
        if ((SECONDS >= deadline)); then
            fail "the table list holds:\n$lines\nexpected:\n$want"
        fi
        sleep 0.2
    done
}

# expect_setting SECTION NAME NUMBER: one REG_DWORD value of the program's settings.
expect_setting() {
    local data
    data=$(wine "$reg_exe" query "$settings_key\\$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name && $2 == "REG_DWORD" {print $3}')
    [[ -n $data ]] || fail "no REG_DWORD $1\\$2"
    (($(printf '%d' "$data") == $3)) || fail "$1\\$2 is $data, expected $3"
}

# expect_hot_zone RESOLUTION L R T B
expect_hot_zone() {
    expect_setting "HotZone$1" L "$2"
    expect_setting "HotZone$1" R "$3"
    expect_setting "HotZone$1" T "$4"
    expect_setting "HotZone$1" B "$5"
}

# wait_for_file_text FILE TEXT: polls until FILE contains TEXT.
wait_for_file_text() {
    local deadline=$((SECONDS + e2e_wait_seconds))
    until grep -qF "$2" "$1" 2>/dev/null; do
        ((SECONDS < deadline)) || fail "$1 never contained \"$2\""
        sleep 0.1
    done
}

# wait_for_hands N: opens the information panel from the main window until it reports N
# counted hands (the import cycle runs every few seconds).
wait_for_hands() {
    local deadline=$((SECONDS + e2e_wait_seconds)) text
    while true; do
        probe press "$main_caption" "${id[IDC_INFORMATION]}" >/dev/null
        wait_active "$panel_caption"
        read_controls "$panel_caption"
        text=${control_text[${id[IDC_INFO_TEXT]}]:-}
        close_panel
        if [[ $text == *"Database contains $1 Hands"* ]]; then
            return 0
        fi
        ((SECONDS < deadline)) || fail "the panel never reported $1 hands: $text"
        sleep 1
    done
}

standin_pid=""

# start_standin MAIN_WIDTH ZONES [TABLE]: the stand-in PKR client with its views over the default
# zones of a main window MAIN_WIDTH pixels wide, and its table window where the default overlay
# layouts assume it, or at TABLE (LEFT,TOP,RIGHT,BOTTOM). Returns once the client's window is in
# front (it takes the foreground as it starts, which must not land on whatever the test opens
# next).
start_standin() {
    local table=()
    [[ -n ${3:-} ]] && table=(--table "$3")
    (cd "$e2e_work_dir" && exec wine "$standin_exe" --main-width "$1" --zones "$2" "${table[@]}" \
        </dev/null >standin.log 2>&1) &
    standin_pid=$!
    wait_for_file_text "$e2e_work_dir/standin.log" "pkr-standin: ready"
}

set_view() {
    wine "$standin_exe" --set "$1" "$2" </dev/null || fail "stand-in --set $1 $2"
}

stop_standin() {
    if [[ -n $standin_pid ]]; then
        wine "$standin_exe" --quit </dev/null >/dev/null 2>&1 || true
        wait "$standin_pid" 2>/dev/null || true
        standin_pid=""
    fi
}

# click_line N: clicks line N of the main window's table list with the real mouse, as a user
# picks a table.
click_line() {
    local x y w h
    read -r x y w h < <(probe item "$main_caption" "${id[IDC_TABLES]}" "$1") ||
        fail "no line $1 in the table list"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# window_rect CAPTION: "x y w h" of the visible window, or a failure.
window_rect() {
    probe wait "$1" 0 || fail "no window \"$1\""
}

# expect_window_rect CAPTION X Y W H: polls until the window has this outer rectangle.
expect_window_rect() {
    local deadline=$((SECONDS + e2e_wait_seconds)) rect
    while true; do
        rect=$(probe wait "$1" 0) || rect="none"
        [[ $rect == "$2 $3 $4 $5" ]] && return 0
        ((SECONDS < deadline)) || fail "\"$1\" at \"$rect\", expected \"$2 $3 $4 $5\""
        sleep 0.1
    done
}

# The overlays of the main window: "x y text" per visible one (text with \n for line ends).
visible_overlays() {
    probe owned "$main_caption" | awk -F'\t' '$2 == 1 && $6 == 122 && $7 == 39 {print $4, $5, $9}'
}

expect_visible_overlays() {
    local deadline=$((SECONDS + e2e_wait_seconds)) count
    while true; do
        count=$(visible_overlays | grep -c '' || true)
        [[ $count -eq $1 ]] && return 0
        ((SECONDS < deadline)) || fail "$count overlays shown, expected $1: $(visible_overlays)"
        sleep 0.2
    done
}

# overlay_of NAME: "x y text" of the overlay showing NAME's statistics.
overlay_of() {
    visible_overlays | awk -v name="$1" 'index($3, name " (") == 1 || index($0, " " name " (")'
}

# The seats of the file's last hand: "number name" per line.
last_hand_seats() {
    awk '/Shuffling Deck/ {delete seat; n = 0} /^Seat [0-9]+: / {
        line = $0; sub(/^Seat /, "", line); number = line; sub(/:.*/, "", number)
        name = line; sub(/^[0-9]+: /, "", name); sub(/ - .*/, "", name)
        if (!(number in seat)) {seat[number] = name; order[++n] = number}}
        END {for (i = 1; i <= n; i++) print order[i], seat[order[i]]}' "$1"
}

# default_layout_y Y: where an overlay whose default layout stores Y stands on this screen. The
# default layouts keep 64 pixels for the taskbar; Wine has no taskbar window, so the program
# assumes 32 pixels and stretches the heights by 1080 / (1080 + 32 - 64) (a whole-number
# quotient, as the program truncates).
default_layout_y() {
    echo $(($1 * 1080 / 1048))
}

reg_value() {
    local data
    data=$(wine "$reg_exe" query "$overlay_section" /v "$1" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name {print $3}')
    [[ -n $data ]] || fail "no value $1 in OverlayPos_1920x1080"
    printf '%d\n' "$data"
}

main_window_width() {
    local w
    read -r _ _ w _ < <(probe wait "$main_caption" 0) || fail "no main window"
    echo "$w"
}

# Counters of a cache file as sorted lines without the player index (which depends on the order
# the files were read in) and without the file cache (whose paths differ between the systems).
cache_counters() {
    "$cli_path" dump "$1" | awk -F'\t' 'NR > 3 && $1 != "player" {$1 = ""; print}' | sort
}

# expect_same_counters GUI_CACHE FOLDER...: the program's cache file holds exactly the counters
# the command-line tool gets from the FOLDERs.
expect_same_counters() {
    local reference="$e2e_work_dir/reference.dat"
    rm -f "$reference"
    "$cli_path" import --cache "$reference" "${@:2}" >/dev/null 2>&1 ||
        fail "reference import of ${*:2}"
    diff <(cache_counters "$reference") <(cache_counters "$1") >"$e2e_work_dir/counters.diff" ||
        fail "the program's counters differ from the tool's: $(head -5 "$e2e_work_dir/counters.diff")"
}

# close_panel: closes the information panel with Escape. On a busy machine the key can arrive
# before the panel has set its focus, so it is then closed as its close box does.
close_panel() {
    keys Escape
    if ! probe gone "$panel_caption" 5000 >/dev/null; then
        probe close "$panel_caption" >/dev/null || true
        probe gone "$panel_caption" $((e2e_wait_seconds * 1000)) >/dev/null ||
            fail "the information panel stayed open"
    fi
}
