# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# The information panel (Lanternquill.exe /info, and after the first import cycle of a normal
# start): the database counts of the cache file in the current folder, and the keyboard. Sourced
# by run.sh.

# The panel ends with IDCANCEL when closed with Escape.
panel_closed_by_escape=2

# expect_panel_counts HANDS PLAYERS ARG...: starts the program with ARG..., expects the panel
# to show the counts, and closes it.
expect_panel_counts() {
    local hands=$1 players=$2
    shift 2
    start_app "$@"
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "\\nDatabase contains $hands Hands on $players Players"
    screenshot "counts-$hands"
    keys Escape
    expect_exit "$panel_closed_by_escape"
}

e2e_test_info_panel_shows_the_counts_of_the_cache_file() {
    # No cache file: an empty database.
    expect_panel_counts 0 0 /info

    # A cache file written by the native tool, read by the Windows program.
    "$sim_path" --out "$e2e_work_dir/handhistory" --seed 31 --tables 3 --hands 240 >/dev/null
    "$cli_path" import --cache "$e2e_work_dir/LanternquillCache_Trial.dat" \
        "$e2e_work_dir/handhistory" >/dev/null 2>&1
    local summary hands players
    summary=$("$cli_path" dump "$e2e_work_dir/LanternquillCache_Trial.dat")
    hands=$(awk '$1 == "hands:" {print $2}' <<<"$summary")
    players=$(awk '$1 == "players:" {print $2}' <<<"$summary")
    [[ $hands == 240 && $players -gt 0 ]] ||
        fail "the imported cache holds $hands hands and $players players; expected 240 hands"
    expect_panel_counts "$hands" "$players" /info

    # A normal start with an empty hand history folder: the panel after the first import cycle
    # shows what the cache file holds.
    use_pkr_install
    start_app
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "\\nDatabase contains $hands Hands on $players Players"
    keys Escape
    close_main
    expect_exit 0
}

e2e_test_info_panel_stays_open_on_enter() {
    start_app /info
    wait_active "$panel_caption"
    keys Return
    screenshot after-enter
    # Keys are handled in order: had Enter ended the panel, Escape would find nothing to close
    # and the exit status would be Enter's.
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

e2e_test_info_panel_and_first_run_message_name_a_missing_folder() {
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
