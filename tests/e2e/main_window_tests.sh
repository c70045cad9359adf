# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# The main window (Lanternquill.exe without arguments): the first start that imports the hand
# history, the cache file at exit and the next start, the keys it ignores, the hot zones, and
# history folders that are missing, odd or locked. Sourced by run.sh.

e2e_test_main_first_start_imports_history_and_the_next_start_reads_the_cache() {
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 41 --tables 3 --hands 300 >/dev/null

    start_app
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 \
        "You have 3 tables of hand history in this period."
    screenshot first-run-message
    keys Return
    # After the full import: the panel with the imported numbers, then the tables just written.
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" "Database contains 300 Hands on"
    screenshot after-first-import
    keys Escape
    expect_list_count 3
    screenshot tables-listed
    close_main
    expect_exit 0
    [[ -f $e2e_work_dir/LanternquillCache_Trial.dat ]] || fail "no cache file written at exit"
    expect_same_counters "$e2e_work_dir/LanternquillCache_Trial.dat" "$history_dir"

    # More hands on a new table while the program is not running: the next start loads the
    # cache, shows no first-run message, and adds only the new hands.
    "$sim_path" --out "$history_dir" --seed 42 --tables 1 --hands 40 --screen-name Quill \
        >/dev/null
    start_app
    wait_active "$panel_caption"
    probe gone "$importer_caption" 0 >/dev/null || fail "the first-run message came again"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" "Database contains 340 Hands on"
    keys Escape
    close_main
    expect_exit 0
    expect_same_counters "$e2e_work_dir/LanternquillCache_Trial.dat" "$history_dir"
}

e2e_test_main_window_ignores_enter_and_escape() {
    use_pkr_install
    start_with_cache
    keys Return Escape Return
    sleep 1
    probe wait "$main_caption" 0 >/dev/null || fail "Enter or Escape closed the main window"
    expect_checks "$main_caption" "${id[IDC_AUTOSWITCH]}=0" "${id[IDC_MULTITABLE]}=0" \
        "${id[IDC_SHRINK]}=0" "${id[IDC_HIDE]}=0"
    close_main
    expect_exit 0
}

e2e_test_main_first_start_writes_the_hot_zone_and_the_dialog_stores_its_window() {
    use_pkr_install
    start_with_cache
    local x y w h
    read -r x y w h < <(probe wait "$main_caption" 0) || fail "no main window"
    # Centred on the 1920 x 1080 screen and the zones' defaults derived from its width.
    ((x == (1920 - w) / 2 && y == (1080 - h) / 2)) || fail "main window at $x,$y, size $w x $h"
    expect_hot_zone 1920x1080 $((1920 - w)) 1920 30 224
    expect_setting MainWindow Version 112

    click "$main_caption" "${id[IDC_HOTZONES]}"
    wait_active "$hotzone_caption"
    local zx zy zw zh
    read -r zx zy zw zh < <(probe wait "$hotzone_caption" 0)
    # Opened over the stored zone (moved left so that it ends at the screen's right edge).
    ((zx + zw == 1920 && zy == 30)) || fail "hot zone dialog at $zx,$zy size $zw x $zh"
    screenshot hot-zone-dialog
    xdotool mousemove $((zx + zw / 2)) $((zy + 8)) mousedown 1 mousemove $((zx + zw / 2 - 100)) \
        $((zy + 58)) mouseup 1
    # The drag is one move: once the dialog has left its place, it stands where it stays.
    local deadline=$((SECONDS + e2e_wait_seconds)) before="$zx $zy"
    while read -r zx zy zw zh < <(probe wait "$hotzone_caption" 0) && [[ "$zx $zy" == "$before" ]]; do
        ((SECONDS < deadline)) || fail "the hot zone dialog was not moved"
        sleep 0.1
    done
    keys Return
    probe gone "$hotzone_caption" $((e2e_wait_seconds * 1000)) >/dev/null || fail "the hot zone dialog stayed open"
    expect_hot_zone 1920x1080 "$zx" $((zx + zw)) "$zy" $((zy + zh))
    close_main
    expect_exit 0
    # Placed at x > 0 and y > 0: the position is kept for the next start.
    expect_setting MainWindow PosX "$x"
    expect_setting MainWindow PosY "$y"
}

# hold_file PATH: holds the file open without sharing (as a virus scanner or the client may)
# until let_go_of_file, however long the program takes meanwhile. The holder is the probe's own
# process, so killing it lets go at once.
hold_file() {
    wine "$probe_exe" hold "$(wine_path "$1")" 600000 </dev/null >"$e2e_work_dir/hold.log" &
    file_holder=$!
    wait_for_file_text "$e2e_work_dir/hold.log" held
}

let_go_of_file() {
    kill -KILL "$file_holder"
    wait "$file_holder" 2>/dev/null || true
}

e2e_test_main_survives_missing_odd_and_locked_history() {
    # A registry path of 255 characters, then a missing folder, then a folder of other files
    # with one locked hand history file: no message, no crash, the locked file read later.
    local long_path
    long_path="C:\\$(printf 'x%.0s' {1..252})"
    reg_add 'HKCU\Software\PKR' /v InstallDirectory /t REG_SZ /d "$long_path"
    start_with_cache
    close_main
    expect_exit 0

    use_pkr_install
    rm -rf "$history_dir"
    start_with_cache
    close_main
    expect_exit 0

    mkdir -p "$history_dir/notes" "$history_dir/.svn"
    printf 'not a hand history\n' >"$history_dir/notes/readme.text"
    head -c 5000 /dev/urandom >"$history_dir/notes/binary.txt"
    "$sim_path" --out "$history_dir" --seed 43 --tables 1 --hands 30 >/dev/null
    local table_file
    table_file=$(find "$history_dir" -name '*.txt' -path '*/20*' | head -1)
    hold_file "$table_file"
    start_with_cache
    # The file is skipped while locked and read by a later cycle, without being written again.
    wait_for_hands "$kept_hands"
    let_go_of_file
    wait_for_hands $((kept_hands + 30))
    # Every changed ".txt" file is a table, hands or not.
    expect_list_count 2
    close_main
    expect_exit 0
}

# expect_enabled CAPTION 0|1: polls until the window takes input (1) or not (0).
expect_enabled() {
    local deadline=$((SECONDS + e2e_wait_seconds)) state
    while true; do
        state=$(probe enabled "$1") || state=""
        [[ $state == "$2" ]] && return 0
        ((SECONDS < deadline)) || fail "\"$1\" enabled: \"$state\", expected $2"
        sleep 0.2
    done
}

# new_table SEED: a table written into the PKR client's folder now, as one being played.
new_table() {
    "$sim_path" --out "$history_dir" --seed "$1" --tables 1 --hands 3 >/dev/null ||
        fail "pkr-sim"
}

e2e_test_main_hot_zones_dialog_is_owned_and_holds_the_import_cycle_while_open() {
    use_pkr_install
    start_with_cache
    expect_list_count 0
    local closing seed=91
    for closing in Escape Return; do
        click "$main_caption" "${id[IDC_HOTZONES]}"
        wait_active "$hotzone_caption"
        # Owned by the main window, which takes no input meanwhile (no second dialog, no
        # Options, no closing it underneath).
        probe owned "$main_caption" |
            awk -F'\t' -v caption="$hotzone_caption" 'index($9, caption) {found = 1}
                END {exit !found}' || fail "the hot zone dialog is not owned by the main window"
        expect_enabled "$main_caption" 0
        # A table played now is not listed while the dialog is open: no import cycle runs
        # (one would within 7.5 s).
        local before count
        before=$(list_lines)
        count=$(grep -c . <<<"$before" || true)
        new_table $((seed++))
        sleep 10
        [[ $(list_lines) == "$before" ]] || fail "an import cycle ran under the hot zone dialog"
        keys "$closing"
        probe gone "$hotzone_caption" $((e2e_wait_seconds * 1000)) >/dev/null ||
            fail "$closing left the hot zone dialog open"
        expect_enabled "$main_caption" 1
        # The import timer runs again: the next cycle lists the table.
        expect_list_count $((count + 1))
    done
    screenshot after-hot-zones
    close_main
    expect_exit 0
}

# A cache file that cannot be read (another program holds it) may be a good one: the user is
# told at the start, the file stays where it is, and the exit does not write over it although
# the session counted new hands.
e2e_test_main_leaves_a_cache_it_cannot_read_as_it_is() {
    local cache="$e2e_work_dir/LanternquillCache_Trial.dat"
    "$sim_path" --out "$e2e_work_dir/kept" --seed 77 --tables 1 --hands 20 >/dev/null ||
        fail "pkr-sim"
    "$cli_path" import --cache "$cache" "$e2e_work_dir/kept" >/dev/null 2>&1 ||
        fail "cannot write a cache file"
    cp "$cache" "$e2e_work_dir/before.dat"
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 46 --tables 1 --hands 30 >/dev/null || fail "pkr-sim"
    hold_file "$cache"
    start_app
    wait_active "$cache_message_caption"
    expect_text_contains "$cache_message_caption" 65535 "LanternquillCache_Trial.dat"
    expect_text_contains "$cache_message_caption" 65535 "could not be read: "
    expect_text_contains "$cache_message_caption" 65535 \
        "The statistics of this session will not be saved to it."
    echo "told: ${control_text[65535]}"
    let_go_of_file
    keys Return
    # With nothing loaded, the first import reads the whole history.
    wait_active "$importer_caption"
    keys Return
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" "Database contains 30 Hands on"
    close_panel
    close_main
    expect_exit 0
    cmp -s "$cache" "$e2e_work_dir/before.dat" || fail "the exit wrote over the cache file"
    local others
    others=$(cd "$e2e_work_dir" && echo LanternquillCache_Trial.dat?*)
    [[ $others == "LanternquillCache_Trial.dat?*" ]] || fail "files beside the cache: $others"
}

e2e_test_main_reads_a_table_held_open_during_the_first_import_at_the_next_cycle() {
    # A damaged cache file from an earlier run: set aside beside the cache under a name of its
    # own, not deleted, and the user told which.
    local damaged='Lanternquill_DEMOCACHEO05\n\0damaged'
    # shellcheck disable=SC2059  # the format is the content
    printf "$damaged" >"$e2e_work_dir/LanternquillCache_Trial.dat"
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 44 --tables 2 --hands 60 >/dev/null
    local held_file held_hands
    held_file=$(find "$history_dir" -name '*.txt' -path '*/20*' | sort | head -1)
    held_hands=$(grep -c '^Starting Hand #' "$held_file")
    # The closed table's file is held for the whole first import, and is never written again.
    hold_file "$held_file"
    start_app
    wait_active "$cache_message_caption"
    expect_text_contains "$cache_message_caption" 65535 "is damaged. It has been kept as"
    local kept_as message
    kept_as=$(cd "$e2e_work_dir" && echo LanternquillCache_Trial.dat.rejected-*)
    [[ -f $e2e_work_dir/$kept_as ]] || fail "the damaged cache file was not set aside"
    message=${control_text[65535]}
    [[ $message == *"\\$kept_as"* ]] || fail "the message does not name $kept_as: $message"
    keys Return
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 \
        "You have 2 tables of hand history in this period."
    keys Return
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "Database contains $((60 - held_hands)) Hands on"
    close_panel
    # shellcheck disable=SC2059
    cmp -s <(printf "$damaged") "$e2e_work_dir/$kept_as" ||
        fail "the damaged cache file was not kept whole as $kept_as"
    let_go_of_file
    wait_for_hands 60
    close_main
    expect_exit 0
    expect_same_counters "$e2e_work_dir/LanternquillCache_Trial.dat" "$history_dir"
    local entries
    entries=$("$cli_path" dump "$e2e_work_dir/LanternquillCache_Trial.dat" | sed -n 3p)
    [[ $entries == "file-cache entries: 2" ]] || fail "one file-cache entry per table expected: $entries"
}
