# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# Tables being played and the automatic switching: a table whose file grows gets its line, the
# stand-in PKR client's mini-table views select lines while the user works in the PKR client or
# in this program, and a requested troubleshooting log is written. Sourced by run.sh.

e2e_test_switching_a_table_whose_file_grows_appears_in_the_list() {
    use_pkr_install
    start_with_cache
    expect_list_count 0
    local log="$e2e_work_dir/live.log" table
    "$sim_path" --out "$history_dir" --live --pace 300 --live-seconds 40 --tables 1 --seed 45 \
        >"$log" 2>&1 &
    local sim=$!
    wait_for_file_text "$log" ".txt"
    table=$(awk '/\.txt$/ {n = split($0, parts, "/"); sub(/\.txt$/, "", parts[n]); print parts[n]}' \
        "$log")
    # The next import cycle finds the new file: the table's line, selected as the only one.
    expect_list "> $table"
    screenshot table-listed
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    close_main
    expect_exit 0
}

e2e_test_switching_follows_the_mini_table_views_only_while_pkr_or_we_are_in_front() {
    trap 'stop_standin; stop_app' EXIT
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 46 --tables 1 --hands 20 >/dev/null
    main_window_below_the_table
    local table
    table=$(find "$history_dir" -name '*.txt' -path '*/20*' -printf '%f\n' | sed 's/\.txt$//')
    start_with_cache
    expect_list "> $table"
    start_standin "$(main_window_width)" dark,dark,dark,dark

    # Auto Switch on, this program in front: zone 2 turning white selects line 2, the list being
    # padded with placeholders; the table's HUD is hidden.
    click "$main_caption" "${id[IDC_AUTOSWITCH]}"
    expect_checks "$main_caption" "${id[IDC_AUTOSWITCH]}=1"
    set_view 2 white
    expect_list "  $table" "  < no table >" "> < no table >"
    screenshot zone-2-white

    # Another program in front: nothing switches, whatever the views show.
    (cd "$e2e_work_dir" && exec wine "$notepad_exe" </dev/null >/dev/null 2>&1) &
    local notepad=$!
    wait_active Notepad
    set_view 2 dark
    set_view 0 white
    sleep 1.5
    expect_list "  $table" "  < no table >" "> < no table >"
    probe close Notepad >/dev/null || true
    wait "$notepad" 2>/dev/null || true

    # The PKR client in front: zone 0 (white) selects the table's line.
    wine "$standin_exe" --activate </dev/null || fail "stand-in --activate"
    expect_list "> $table" "  < no table >" "  < no table >"
    screenshot zone-0-white
    stop_standin
    close_main
    expect_exit 0
}

e2e_test_switching_writes_a_requested_troubleshooting_log() {
    use_pkr_install
    start_with_cache
    click "$main_caption" "${id[IDC_OPTIONS]}"
    wait_active "$options_caption"
    click "$options_caption" "${id[IDC_CREATE_LOG]}"
    click "$options_caption" "${id[IDOK]}"
    local report="$e2e_work_dir/DebugReport.txt"
    wait_for_file_text "$report" "WhiteCount = "
    head -1 "$report" | grep -qx $'Lanternquill V1.16 Debug Report\r' ||
        fail "the log begins with \"$(head -1 "$report")\""
    grep -q $'^ScreenX = 1920, ScreenY = 1080\r$' "$report" || fail "no screen size line"
    grep -q $'^Autoswitch scan\r$' "$report" || fail "no scan line"
    grep -qF "Hand history folder: C:\\pkr-$e2e_test_name\\handhistory"$'\r' "$report" ||
        fail "the log does not name the hand history folder"
    grep -q '^Zone 0, y = ' "$report" || fail "no sample of zone 0"
    # The shell shows the log in the user's text viewer (here Wine's notepad).
    probe close DebugReport >/dev/null 2>&1 || true
    close_main
    expect_exit 0
}

e2e_test_switching_back_to_a_table_whose_file_ends_mid_hand_brings_its_hud_back() {
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 47 --tables 2 --hands 12 --seats 6-6 >/dev/null ||
        fail "pkr-sim"
    start_with_cache
    expect_list_count 2
    local table_a table_b file_a hand
    table_a=$(list_lines | sed -n '1s/^..//p')
    table_b=$(list_lines | sed -n '2s/^..//p')
    file_a=$(find "$history_dir" -name "$table_a.txt")
    [[ -f $file_a ]] || fail "no file for \"$table_a\""
    # The table's next hand, as the client writes it: the part up to the cards being dealt, then
    # the rest. Between the two writes the current hand lists no seats that can be read.
    hand="$e2e_work_dir/next-hand.txt"
    awk '/^Table #/ {text = ""} {text = text $0 "\n"} END {printf "%s", text}' "$file_a" >"$hand"
    local split
    split=$(grep -n '^Dealing Cards' "$hand" | head -1 | cut -d: -f1)
    [[ -n $split ]] || fail "no hand to copy in $file_a"

    # Both tables have had their HUD; the first one's is hidden while the second is shown.
    click_line 0
    expect_visible_overlays 6
    click_line 1
    expect_list "  $table_a" "> $table_b"
    expect_visible_overlays 6
    head -n "$split" "$hand" >>"$file_a"
    click_line 0
    expect_visible_overlays 0
    screenshot switched-back-mid-hand
    # The client finishes the hand: the HUD comes back without another switch.
    tail -n +"$((split + 1))" "$hand" >>"$file_a"
    expect_visible_overlays 6
    screenshot hud-back
    close_main
    expect_exit 0
}
