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
