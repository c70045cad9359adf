# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# The hand history folder the program reads: one chosen in the settings, shown by the options
# dialog and read by the import, and one that is not there (or cannot be a folder), named by the
# first-run message, the information panel and the options dialog. Sourced by run.sh; the
# client's registry entry in its two views is in registry_tests.sh.

# history_folder_value: the stored "HistoryFolder" of Options as "TYPE DATA" ("missing" without).
history_folder_value() {
    read_options
    echo "${reg_type[HistoryFolder]:-missing} ${reg_data[HistoryFolder]:-}"
}

e2e_test_history_folder_chosen_is_shown_in_the_options_and_its_tables_are_listed() {
    use_pkr_install  # the client's folder: empty
    local table
    table=$(pkr_install_with_table archive 95)
    reg_add "$options_key" /v HistoryFolder /t REG_SZ /d 'C:\archive\handhistory'

    open_options
    expect_text "$options_caption" "${id[IDC_HISTORY_FOLDER]}" 'C:\archive\handhistory'
    screenshot chosen-folder
    keys Escape
    expect_exit 1
    [[ $(history_folder_value) == 'REG_SZ C:\archive\handhistory' ]] ||
        fail "Cancel changed the stored folder: $(history_folder_value)"

    expect_first_start_lists "$table" 'C:\archive\handhistory'

    # Back to the PKR client's folder in the running program: the line shows it, and OK stores
    # an empty text and reloads from that folder as a changed number of weeks does, with the
    # first start's message.
    local client_table
    "$sim_path" --out "$history_dir" --seed 97 --tables 1 --hands 12 --screen-name Quill \
        >/dev/null || fail "pkr-sim"
    client_table=$(basename "$(find "$history_dir" -name '*.txt' -path '*/20*' | head -1)" .txt)
    start_app
    wait_active "$panel_caption"
    close_panel
    wait_active "$main_caption"
    click "$main_caption" "${id[IDC_OPTIONS]}"
    wait_active "$options_caption"
    click "$options_caption" "${id[IDC_CLIENT_FOLDER]}"
    expect_text "$options_caption" "${id[IDC_HISTORY_FOLDER]}" "C:\\pkr-$e2e_test_name\\handhistory"
    click "$options_caption" "${id[IDOK]}"
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 "You have 1 tables of hand history"
    keys Return
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "\\nHand history folder: C:\\pkr-$e2e_test_name\\handhistory"
    close_panel
    expect_list_count 1
    [[ $(list_lines | sed 's/^..//') == "$client_table" ]] ||
        fail "after the reload the list holds \"$(list_lines)\""
    close_main
    expect_exit 0
    [[ $(history_folder_value) == 'REG_SZ ' ]] ||
        fail "the client's folder is stored as: $(history_folder_value)"
    open_options
    expect_text "$options_caption" "${id[IDC_HISTORY_FOLDER]}" "C:\\pkr-$e2e_test_name\\handhistory"
    keys Escape
    expect_exit 1

    # A folder of any name, stored in UTF-16, shows as it is (win-probe reads the code page 1252
    # text, where ü is one byte).
    mkdir -p "$WINEPREFIX/drive_c/archive-Jürgen"
    reg_add "$options_key" /v HistoryFolder /t REG_SZ /d 'C:\archive-Jürgen'
    open_options
    expect_text "$options_caption" "${id[IDC_HISTORY_FOLDER]}" $'C:\\archive-J\xfcrgen'
    keys Escape
    expect_exit 1
    start_app /info
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        $'\\nHand history folder: C:\\archive-J\xfcrgen'
    keys Escape
    expect_exit "$panel_closed_by_escape"
}

# expect_missing_folder_named FOLDER: a first start (no cache file) says in its message that
# FOLDER was not found and where to choose another; the information panel names it as not found,
# at the end of the import and on its own (/info).
expect_missing_folder_named() {
    start_app
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 "You have 0 tables of hand history in this \
period.\\n\\nThe hand history folder $1 was not found: choose another in Options, \"Hand history \
folder\"."
    screenshot missing-folder-message
    keys Return
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "\\nHand history folder: $1 (not found)"
    screenshot missing-folder-panel
    close_panel
    close_main
    expect_exit 0
    rm -f "$e2e_work_dir/LanternquillCache_Trial.dat"

    start_app /info
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "\\nHand history folder: $1 (not found)"
    keys Escape
    expect_exit "$panel_closed_by_escape"
}

e2e_test_history_folder_missing_is_named_by_the_message_and_the_panel() {
    # The client's folder named by its entry but not there.
    use_pkr_install
    rm -rf "$history_dir"
    expect_missing_folder_named "C:\\pkr-$e2e_test_name\\handhistory"

    # A chosen folder that is not there, and one stored text too long for any folder: the
    # options show them as not found, the import reads nothing, nothing fails.
    reg_add "$options_key" /v HistoryFolder /t REG_SZ /d 'D:\moved\handhistory'
    expect_missing_folder_named 'D:\moved\handhistory'
    start_app /options
    wait_active "$options_caption"
    expect_text "$options_caption" "${id[IDC_HISTORY_FOLDER]}" 'D:\moved\handhistory (not found)'
    keys Escape
    expect_exit 1

    local long
    long=$(printf 'x%.0s' {1..40000})
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\%s]\n"HistoryFolder"="C:\\\\%s"\n' \
        "${options_key#HKCU\\}" "$long" >"$e2e_work_dir/long.reg"
    wine "$regedit_exe" /S "$(wine_path "$e2e_work_dir/long.reg")" </dev/null >/dev/null 2>&1 ||
        fail "regedit long.reg"
    [[ $(wine "$reg_exe" query "$options_key" /v HistoryFolder </dev/null 2>/dev/null |
        tr -d '\r' | awk '$1 == "HistoryFolder" {print length($3)}') -gt 32767 ]] ||
        fail "the long folder was not stored"
    expect_missing_folder_named "C:\\$(printf 'x%.0s' {1..197})..."
}
