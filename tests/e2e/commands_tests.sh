# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# The main window's commands with two tables being played at the stand-in PKR client: reordering
# with "^" and "v" (and Auto Switch following the new order), "X", "Table Settings" and the
# layout size chosen in it, "Multi-table", "Shrink"/"Expand", "Hide", and the full reload from
# "Options". Sourced by run.sh.

commands_sim_pid=""

# commands_setup [MAIN_Y]: two six-handed 25NL hold'em tables played in the PKR client's folder
# for ten seconds (a hand every 300 ms, the tables taking turns), the main window stored at
# (1500, MAIN_Y) (default 860, below the client's window), the program started with a cache and
# the stand-in client. Ends once both tables are listed and their last hands complete, with the
# first table selected and its HUD shown. Sets table_a and table_b (the list's order) and file_a
# and file_b (their hand history files).
#
# The commands run between hands: while a hand is half written, its seats cannot be read, and
# "Table Settings" and the return of a hidden HUD then rightly leave the table alone.
commands_setup() {
    use_pkr_install
    local log="$e2e_work_dir/live.log"
    "$sim_path" --out "$history_dir" --seed 61 --tables 2 --game holdem --stake 25NL --seats 6-6 \
        --live --pace 300 --live-seconds 10 >"$log" 2>&1 &
    commands_sim_pid=$!
    local deadline=$((SECONDS + e2e_wait_seconds))
    until [[ $(grep -c '\.txt$' "$log" 2>/dev/null) -eq 2 ]]; do
        ((SECONDS < deadline)) || fail "pkr-sim did not start two tables: $(cat "$log")"
        sleep 0.1
    done
    reg_add "$settings_key\\MainWindow" /v PosX /t REG_DWORD /d 1500
    reg_add "$settings_key\\MainWindow" /v PosY /t REG_DWORD /d "${1:-860}"
    start_with_cache
    # The client's table window kept to the top three quarters of the screen, as a player who
    # keeps Lanternquill's main window beside it would; every click here goes to the main window.
    local width
    width=$(main_window_width)
    start_standin "$width" dark,dark,dark,dark "40,40,$((1920 - width - 40)),790"
    expect_list_count 2
    finish_sim
    local lines
    lines=$(list_lines)
    table_a=$(sed -n '1s/^..//p' <<<"$lines")
    table_b=$(sed -n '2s/^..//p' <<<"$lines")
    file_a=$(find "$history_dir" -name "$table_a.txt")
    file_b=$(find "$history_dir" -name "$table_b.txt")
    [[ -f $file_a && -f $file_b ]] || fail "no files for the tables \"$table_a\", \"$table_b\""
    load_layouts
    click_line 0
    expect_list "> $table_a" "  $table_b"
    expect_hud "$file_a" S_FR_L2
}

# Ends what commands_setup started (only those processes).
commands_teardown() {
    stop_standin
    stop_app
    stop_sim
}

stop_sim() {
    if [[ -n $commands_sim_pid ]]; then
        kill "$commands_sim_pid" 2>/dev/null || true
        wait "$commands_sim_pid" 2>/dev/null || true
        commands_sim_pid=""
    fi
}

# finish_sim: waits for the simulator to end after its last complete hand.
finish_sim() {
    local deadline=$((SECONDS + e2e_wait_seconds))
    while kill -0 "$commands_sim_pid" 2>/dev/null; do
        ((SECONDS < deadline)) || fail "pkr-sim did not end"
        sleep 0.1
    done
    wait "$commands_sim_pid" || fail "pkr-sim failed: $(cat "$e2e_work_dir/live.log")"
    commands_sim_pid=""
}

# after_last_import_of_the_sim: returns once an import cycle has read the tables as the
# simulator left them (the information panel counts every hand), so that no later cycle lists a
# removed table again.
after_last_import_of_the_sim() {
    local reference="$e2e_work_dir/all-hands.dat" hands
    rm -f "$reference"
    "$cli_path" import --cache "$reference" "$e2e_work_dir/kept" "$history_dir" >/dev/null 2>&1 ||
        fail "cannot count the hands written"
    hands=$("$cli_path" dump "$reference" | sed -n 's/^hands: //p')
    wait_for_hands "$hands"
}

# The stored overlay positions of this screen by value name (for example S_FR_L2_S3x).
declare -A layout_value
load_layouts() {
    layout_value=()
    local name type data
    while read -r name type data; do
        if [[ $type == REG_DWORD ]]; then
            layout_value[$name]=$((data))
        fi
    done < <(wine "$reg_exe" query "$overlay_section" </dev/null 2>/dev/null | tr -d '\r')
    [[ -n ${layout_value[S_FR_L2_S1x]:-} ]] || fail "no overlay layouts in the registry"
}

# hud_mismatch FILE LAYOUT POSITIONED: what differs between the overlays on the screen and the
# HUD of the table in FILE placed by LAYOUT, one problem per line (nothing when they agree).
hud_mismatch() {
    local positioned=$3 shown number name x y want_x want_y expected=0
    # Overlays moved out of the layout stand at y = -5150, where nobody sees them.
    shown=$(visible_overlays | awk '$2 > -1000')
    while read -r number name; do
        name=${name:0:16}
        x="" y=""
        read -r x y _ < <(awk -v name=" $name (" 'index(" " $3 " (", name) == 1' <<<"$shown") ||
            true
        if ((number > positioned)); then
            [[ -z $x ]] || echo "seat $number ($name) shown at $x,$y, outside the layout"
            continue
        fi
        expected=$((expected + 1))
        if [[ -z $x ]]; then
            echo "no overlay for seat $number ($name)"
            continue
        fi
        # The screen's own default layout, fitted to the taskbar (no overlay is dragged here).
        want_x=${layout_value[${2}_S${number}x]}
        want_y=$(default_layout_y "${layout_value[${2}_S${number}y]}")
        if ((x != want_x || y != want_y)); then
            echo "seat $number ($name) at $x,$y, $2 says $want_x,$want_y"
        fi
    done < <(last_hand_seats "$1")
    local count
    count=$(grep -c '' <<<"$shown" || true)
    [[ -n $shown ]] || count=0
    ((count == expected)) || echo "$count overlays shown, expected $expected"
}

# expect_hud FILE LAYOUT [POSITIONED]: polls until the overlays on the screen are exactly those
# of the players of FILE's last hand, each at his seat's position in LAYOUT (S_FR_L2, M_6M_L1,
# ...), the seats above POSITIONED (10, 6 or 2 for full ring, six-max and heads-up) off the
# screen.
expect_hud() {
    local deadline=$((SECONDS + e2e_wait_seconds)) wrong
    while true; do
        wrong=$(hud_mismatch "$1" "$2" "${3:-10}")
        [[ -z $wrong ]] && return 0
        ((SECONDS < deadline)) || fail "HUD of ${1##*/} in $2:"$'\n'"$wrong"
        sleep 0.2
    done
}

# owned_windows_of KIND: how many windows the main window owns of a kind: "overlay" (ten per
# HUD, shown or not) or "settings" (one table settings window per HUD).
owned_windows_of() {
    probe owned "$main_caption" | awk -F'\t' -v kind="$1" '
        kind == "overlay" && $6 == 122 && $7 == 39 {n++}
        kind == "settings" && $8 == "#32770" && !($6 == 122 && $7 == 39) {n++}
        END {print n + 0}'
}

expect_owned_windows() {
    local deadline=$((SECONDS + e2e_wait_seconds)) count
    while true; do
        count=$(owned_windows_of "$1")
        ((count == $2)) && return 0
        ((SECONDS < deadline)) || fail "$count $1 windows, expected $2"
        sleep 0.2
    done
}

# expect_settings_window NAME VISIBLE [X Y]: polls until the table settings window captioned
# NAME is shown (1) or hidden (0), when shown with its top-left corner at X, Y.
expect_settings_window() {
    local deadline=$((SECONDS + e2e_wait_seconds)) state want="$2${3:+ $3 $4}"
    while true; do
        # A window list read while windows come and go may fail: the next poll reads it again.
        state=$(probe owned "$main_caption" | awk -F'\t' -v name="$1" '
            $8 == "#32770" && $9 == name {print $2 ($2 == 1 ? " " $4 " " $5 : "")}') || state=""
        [[ $state == "$want" ]] && return 0
        ((SECONDS < deadline)) ||
            fail "settings window \"$1\": \"$state\" (visible x y), expected \"$want\""
        sleep 0.2
    done
}

press_main() {
    click "$main_caption" "${id[$1]}"
}

placeholder="< no table >"

e2e_test_commands_reorder_and_remove_tables_while_auto_switch_follows_the_order() {
    trap commands_teardown EXIT
    commands_setup
    screenshot two-tables
    click_line 1
    expect_list "  $table_a" "> $table_b"
    expect_hud "$file_b" S_FR_L2

    # "v" on the last line pushes it down behind placeholders, as far as the fourth line.
    press_main IDC_MOVE_DOWN
    expect_list "  $table_a" "  $placeholder" "> $table_b"
    press_main IDC_MOVE_DOWN
    expect_list "  $table_a" "  $placeholder" "  $placeholder" "> $table_b"
    screenshot pushed-to-the-fourth-line
    # A third "v" does nothing; the "^" after it moves the table up one line and drops the
    # placeholder left trailing (the clicks are handled in order, so the list shows both).
    press_main IDC_MOVE_DOWN
    press_main IDC_MOVE_UP
    expect_list "  $table_a" "  $placeholder" "> $table_b"
    press_main IDC_MOVE_UP
    expect_list "  $table_a" "> $table_b"
    press_main IDC_MOVE_UP
    expect_list "> $table_b" "  $table_a"
    # Moving never changes which table's HUD is shown.
    expect_hud "$file_b" S_FR_L2

    # Auto Switch follows the new order: mini-table 0 is now the second table, 1 the first.
    press_main IDC_AUTOSWITCH
    expect_checks "$main_caption" "${id[IDC_AUTOSWITCH]}=1"
    set_view 1 white
    expect_list "  $table_b" "> $table_a"
    expect_hud "$file_a" S_FR_L2
    set_view 1 dark
    set_view 0 white
    expect_list "> $table_b" "  $table_a"
    expect_hud "$file_b" S_FR_L2
    screenshot auto-switch-after-reordering
    press_main IDC_AUTOSWITCH
    expect_checks "$main_caption" "${id[IDC_AUTOSWITCH]}=0"
    set_view 0 dark

    # "X" destroys the selected table's HUD (its ten overlays and its settings window) and
    # selects the remaining line, whose HUD is shown. (Once the last hands were imported: a
    # table whose file grows is listed again.)
    after_last_import_of_the_sim
    expect_owned_windows overlay 20
    expect_owned_windows settings 2
    press_main IDC_REMOVE_TABLE
    expect_list "> $table_a"
    expect_owned_windows overlay 10
    expect_owned_windows settings 1
    expect_hud "$file_a" S_FR_L2
    screenshot one-table-removed
    # "X" on the only line leaves an empty list and no overlay at all.
    press_main IDC_REMOVE_TABLE
    expect_list_count 0
    expect_owned_windows overlay 0
    expect_owned_windows settings 0
    stop_standin
    close_main
    expect_exit 0
}

e2e_test_commands_table_settings_layout_size_and_multi_table_place_the_overlays() {
    trap commands_teardown EXIT
    # The main window high enough for the settings window to open below it on the screen.
    commands_setup 795
    local x y w h
    read -r x y w h < <(window_rect "$main_caption")

    # "Table Settings" toggles the selected table's settings window below the main window.
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_a" 1 "$x" $((y + h))
    screenshot table-settings
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_a" 0
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_a" 1 "$x" $((y + h))

    # The layout size chosen there moves the overlays: six-max and heads-up layouts of the first
    # environment (the simulator's table names begin with no name of the catalogue), full ring
    # always from the second; seats beyond the layout's size leave the screen.
    click "$table_a" "${id[IDC_SIZE_6MAX]}"
    expect_hud "$file_a" S_6M_L1 6
    click "$table_a" "${id[IDC_SIZE_HEADSUP]}"
    expect_hud "$file_a" S_HU_L1 2
    screenshot heads-up-layout
    click "$table_a" "${id[IDC_SIZE_FULLRING]}"
    expect_hud "$file_a" S_FR_L2

    # Another table's settings window replaces the first one.
    click_line 1
    expect_hud "$file_b" S_FR_L2
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_b" 1 "$x" $((y + h))
    expect_settings_window "$table_a" 0
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_b" 0

    # "Multi-table" switches every HUD to the "M" layouts, the hidden one too.
    click_line 0
    expect_hud "$file_a" S_FR_L2
    press_main IDC_MULTITABLE
    expect_hud "$file_a" M_FR_L2
    screenshot multi-table
    click_line 1
    expect_hud "$file_b" M_FR_L2
    press_main IDC_MULTITABLE
    expect_hud "$file_b" S_FR_L2
    stop_standin
    close_main
    expect_exit 0
}

e2e_test_commands_shrink_expand_and_hide_and_the_position_kept_at_exit() {
    trap commands_teardown EXIT
    commands_setup
    local x y w h
    read -r x y w h < <(window_rect "$main_caption")

    # "Shrink" leaves a 70-pixel window whose check boxes can still be reached.
    press_main IDC_SHRINK
    expect_window_rect "$main_caption" "$x" "$y" "$w" 70
    expect_text "$main_caption" "${id[IDC_SHRINK]}" Expand
    screenshot shrunk
    # Moved by its title bar while shrunk, it expands at its new place to its full height.
    xdotool mousemove $((x + w / 2)) $((y + 7)) mousedown 1 mousemove $((x + w / 2 - 400)) \
        $((y - 193)) mouseup 1
    local deadline=$((SECONDS + e2e_wait_seconds)) nx ny
    while read -r nx ny _ < <(window_rect "$main_caption") && ((nx == x && ny == y)); do
        ((SECONDS < deadline)) || fail "the shrunk window did not move"
        sleep 0.1
    done
    sleep 0.3
    read -r nx ny _ < <(window_rect "$main_caption")
    press_main IDC_SHRINK
    expect_window_rect "$main_caption" "$nx" "$ny" "$w" "$h"
    expect_text "$main_caption" "${id[IDC_SHRINK]}" Shrink

    # "Hide" hides every overlay and takes the selection away; cleared, it selects the table on
    # line 2 again and shows its HUD.
    click_line 1
    press_main IDC_MOVE_DOWN
    expect_list "  $table_a" "  $placeholder" "> $table_b"
    expect_hud "$file_b" S_FR_L2
    press_main IDC_HIDE
    expect_list "  $table_a" "  $placeholder" "  $table_b"
    expect_visible_overlays 0
    screenshot hidden
    press_main IDC_HIDE
    expect_list "  $table_a" "  $placeholder" "> $table_b"
    expect_hud "$file_b" S_FR_L2

    # The position at exit is the moved one.
    stop_standin
    close_main
    expect_exit 0
    expect_setting MainWindow PosX "$nx"
    expect_setting MainWindow PosY "$ny"
}

e2e_test_commands_options_reload_empties_the_list_and_reimports_with_the_first_run_message() {
    trap commands_teardown EXIT
    commands_setup
    click_line 1
    expect_hud "$file_b" S_FR_L2
    local reference="$e2e_work_dir/reference.dat" hands
    "$cli_path" import --cache "$reference" "$history_dir" >/dev/null 2>&1 || fail "reference"
    hands=$("$cli_path" dump "$reference" | sed -n 's/^hands: //p')

    press_main IDC_OPTIONS
    wait_active "$options_caption"
    click "$options_caption" "${id[IDC_RELOAD_HISTORY]}"
    expect_checks "$options_caption" "${id[IDC_RELOAD_HISTORY]}=1"
    click "$options_caption" "${id[IDOK]}"
    # Every table and HUD is gone before the full import starts with its first-run message.
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 \
        "You have 2 tables of hand history in this period."
    expect_list_count 0
    expect_owned_windows overlay 0
    screenshot reload-message
    keys Return
    # The store was emptied first: the panel counts the folder's hands only, without the
    # cache's.
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" "Database contains $hands Hands on"
    keys Escape
    probe gone "$panel_caption" $((e2e_wait_seconds * 1000)) >/dev/null ||
        fail "the information panel stayed open"
    expect_list_count 2
    stop_standin
    close_main
    expect_exit 0
    expect_same_counters "$e2e_work_dir/LanternquillCache_Trial.dat" "$history_dir"
}

# activate_settings_window NAME: gives the shown table settings window the keyboard, as a user
# does by clicking its caption.
activate_settings_window() {
    local x y w
    read -r x y w _ < <(window_rect "$1")
    xdotool mousemove $((x + w / 2)) $((y + 6)) click 1
    wait_active "$1"
}

# expect_focus CAPTION ID...: polls until the keyboard focus is on one of these controls of the
# window.
expect_focus() {
    local caption=$1 deadline=$((SECONDS + e2e_wait_seconds)) focus want
    shift
    while true; do
        focus=$(probe focus "$caption") || focus=""
        for want in "$@"; do
            [[ ${focus%%$'\t'*} == "$want" ]] && return 0
        done
        ((SECONDS < deadline)) || fail "focus in \"$caption\" on \"$focus\", expected one of $*"
        sleep 0.2
    done
}

e2e_test_commands_table_settings_window_answers_enter_escape_and_tab() {
    trap commands_teardown EXIT
    commands_setup 795
    local x y h
    read -r x y _ h < <(window_rect "$main_caption")
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_a" 1 "$x" $((y + h))
    activate_settings_window "$table_a"

    # Tab goes from the environment list to the size buttons (one stop for the group) and back.
    local env=${id[IDC_ENVIRONMENT]}
    local sizes=("${id[IDC_SIZE_HEADSUP]}" "${id[IDC_SIZE_6MAX]}" "${id[IDC_SIZE_FULLRING]}")
    expect_focus "$table_a" "$env" "${sizes[@]}"
    local before
    before=$(probe focus "$table_a")
    before=${before%%$'\t'*}
    local -a other=("$env") same=("${sizes[@]}")
    if [[ $before == "$env" ]]; then
        other=("${sizes[@]}") same=("$env")
    fi
    keys Tab
    expect_focus "$table_a" "${other[@]}"
    keys Tab
    expect_focus "$table_a" "${same[@]}"
    screenshot settings-window-focus

    # Enter hides the window; the HUD stays.
    keys Return
    expect_settings_window "$table_a" 0
    expect_hud "$file_a" S_FR_L2
    # Escape hides it too.
    press_main IDC_TABLE_SETTINGS
    expect_settings_window "$table_a" 1 "$x" $((y + h))
    activate_settings_window "$table_a"
    keys Escape
    expect_settings_window "$table_a" 0

    # In the main window itself Enter and Escape still do nothing.
    click_line 0
    wait_active "$main_caption"
    keys Return Escape
    sleep 0.5
    window_rect "$main_caption" >/dev/null
    expect_list "> $table_a" "  $table_b"
    stop_standin
    close_main
    expect_exit 0
}
