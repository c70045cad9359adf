# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# The options dialog (Lanternquill.exe /options): what it shows, what OK writes, what Cancel
# leaves alone. Sourced by run.sh; each test starts with no Quillworks key in the registry.

# The stored check boxes in the settings record's order, with the fresh-user defaults.
fresh_defaults=(
    "${id[IDC_SPLIT_STAKES]}=0" "${id[IDC_TRANSPARENT]}=0" "${id[IDC_ALWAYS_ON_TOP]}=1"
    "${id[IDC_SHOW_VPIP]}=1" "${id[IDC_SHOW_PFR]}=1" "${id[IDC_SHOW_WTSD]}=1"
    "${id[IDC_SHOW_WONSD]}=0" "${id[IDC_SHOW_3BET]}=1" "${id[IDC_SHOW_FT3BET]}=1"
    "${id[IDC_SHOW_CBET]}=1" "${id[IDC_SHOW_FTCBET]}=1" "${id[IDC_SHOW_AGFR]}=1"
)

open_options() {
    start_app /options
    wait_active "$options_caption"
}

e2e_test_options_show_the_defaults_to_a_fresh_user() {
    open_options
    expect_checks "$options_caption" "${fresh_defaults[@]}" \
        "${id[IDC_RELOAD_HISTORY]}=0" "${id[IDC_CREATE_LOG]}=0"
    expect_text "$options_caption" "${id[IDC_WEEKS]}" 52
    screenshot defaults
    keys Escape
    expect_exit 1
    expect_no_options
}

e2e_test_options_ok_writes_all_thirteen_values_and_they_read_back() {
    open_options
    local box
    for box in IDC_SPLIT_STAKES IDC_TRANSPARENT IDC_ALWAYS_ON_TOP IDC_SHOW_VPIP IDC_SHOW_WONSD \
        IDC_SHOW_AGFR IDC_RELOAD_HISTORY IDC_CREATE_LOG; do
        click "$options_caption" "${id[$box]}"
    done
    expect_checks "$options_caption" "${id[IDC_SPLIT_STAKES]}=1" "${id[IDC_TRANSPARENT]}=1" \
        "${id[IDC_ALWAYS_ON_TOP]}=0" "${id[IDC_SHOW_VPIP]}=0" "${id[IDC_SHOW_WONSD]}=1" \
        "${id[IDC_SHOW_AGFR]}=0" "${id[IDC_RELOAD_HISTORY]}=1" "${id[IDC_CREATE_LOG]}=1"
    replace_text "$options_caption" "${id[IDC_WEEKS]}" 26
    screenshot changed
    click "$options_caption" "${id[IDOK]}"
    expect_exit 0
    # The two action boxes are requests to the caller, never stored.
    expect_options SplitStats_Stakes=1 TransparentWindows=1 MainWindowAlwaysOnTop=0 \
        OldestStatsInWeeks=26 ShowVPIP=0 ShowPFR=1 ShowWTSD=1 ShowWONSD=1 Show3BET=1 \
        ShowFT3BET=1 ShowCBET=1 ShowFTCBET=1 ShowAGFR=0

    # The next start shows what was stored, and the action boxes start unticked again.
    open_options
    expect_checks "$options_caption" "${id[IDC_SPLIT_STAKES]}=1" "${id[IDC_TRANSPARENT]}=1" \
        "${id[IDC_ALWAYS_ON_TOP]}=0" "${id[IDC_SHOW_VPIP]}=0" "${id[IDC_SHOW_PFR]}=1" \
        "${id[IDC_SHOW_WONSD]}=1" "${id[IDC_SHOW_AGFR]}=0" "${id[IDC_RELOAD_HISTORY]}=0" \
        "${id[IDC_CREATE_LOG]}=0"
    expect_text "$options_caption" "${id[IDC_WEEKS]}" 26
    keys Escape
    expect_exit 1
}

# weeks_ok_stores HOW TEXT NUMBER: enters TEXT as the weeks (typed, or pasted past the box's
# digits-only filter), confirms with Enter and expects NUMBER stored.
weeks_ok_stores() {
    open_options
    if [[ $1 == typed ]]; then
        replace_text "$options_caption" "${id[IDC_WEEKS]}" "$2"
    else
        probe set-text "$options_caption" "${id[IDC_WEEKS]}" "$2" || fail "cannot set the weeks"
        expect_text "$options_caption" "${id[IDC_WEEKS]}" "$2"
    fi
    keys Return
    expect_exit 0
    expect_option OldestStatsInWeeks "$3"
}

e2e_test_options_weeks_are_clamped_and_read_up_to_the_first_non_digit() {
    weeks_ok_stores typed 0 1
    weeks_ok_stores typed 5000 999
    weeks_ok_stores pasted 12abc 12
    weeks_ok_stores pasted "" 1
}

e2e_test_options_cancel_escape_and_close_change_nothing() {
    reg_add "$options_key" /v OldestStatsInWeeks /t REG_DWORD /d 30
    reg_add "$options_key" /v ShowVPIP /t REG_DWORD /d 0
    reg_add "$options_key" /v MainWindowAlwaysOnTop /t REG_DWORD /d 2

    local close
    for close in cancel-button escape alt-f4; do
        open_options
        expect_checks "$options_caption" "${id[IDC_SHOW_VPIP]}=0" "${id[IDC_ALWAYS_ON_TOP]}=0"
        expect_text "$options_caption" "${id[IDC_WEEKS]}" 30
        click "$options_caption" "${id[IDC_SHOW_VPIP]}"
        click "$options_caption" "${id[IDC_RELOAD_HISTORY]}"
        replace_text "$options_caption" "${id[IDC_WEEKS]}" 77
        case $close in
            cancel-button) click "$options_caption" "${id[IDCANCEL]}" ;;
            escape) keys Escape ;;
            alt-f4) keys alt+F4 ;;
        esac
        expect_exit 1
        expect_options OldestStatsInWeeks=30 ShowVPIP=0 MainWindowAlwaysOnTop=2
    done
}
