# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# Damaged settings in the registry: values of another type or size, and numbers out of range,
# read as the defaults or clamped, never a crash. Reading writes nothing back; the next OK writes
# every value as a proper DWORD. Sourced by run.sh.

# reg_import LINES: imports registry file lines into Options (`wine reg add` cannot make some
# of the damaged values).
reg_import() {
    local file="$e2e_work_dir/import.reg" windows_file
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\%s]\n%s\n' "${options_key#HKCU\\}" "$1" >"$file"
    windows_file=$(wine_path "$file")
    wine "$regedit_exe" /S "$windows_file" </dev/null >/dev/null 2>&1 || fail "regedit $file"
}

e2e_test_registry_values_of_the_wrong_type_or_size_read_as_defaults() {
    # A four-byte binary, an eight-byte QWORD and a two-byte DWORD that all hold 1 (true, if
    # the type and size were not checked), strings, and DWORDs that are not 1.
    reg_import '"SplitStats_Stakes"=hex:01,00,00,00
"TransparentWindows"=hex(b):01,00,00,00,00,00,00,00
"ShowWONSD"=hex(4):01,00
"ShowVPIP"="0"
"OldestStatsInWeeks"="30"
"MainWindowAlwaysOnTop"=dword:00000002
"ShowPFR"=dword:ffffffff'
    read_options
    [[ ${reg_type[TransparentWindows]:-} == REG_QWORD && ${reg_type[ShowVPIP]:-} == REG_SZ &&
        ${#reg_type[@]} -eq 7 ]] || fail "the damaged values were not stored as meant"

    start_app /options
    wait_active "$options_caption"
    expect_checks "$options_caption" "${id[IDC_SPLIT_STAKES]}=0" "${id[IDC_TRANSPARENT]}=0" \
        "${id[IDC_SHOW_WONSD]}=0" "${id[IDC_SHOW_VPIP]}=1" "${id[IDC_ALWAYS_ON_TOP]}=0" \
        "${id[IDC_SHOW_PFR]}=0"
    expect_text "$options_caption" "${id[IDC_WEEKS]}" 52
    keys Escape
    expect_exit 1
    read_options
    [[ ${reg_type[SplitStats_Stakes]} == REG_BINARY && ${reg_type[OldestStatsInWeeks]} == REG_SZ ]] ||
        fail "reading the settings changed the registry"

    # OK replaces every value by a DWORD of what the dialog showed.
    start_app /options
    wait_active "$options_caption"
    keys Return
    expect_exit 0
    expect_options SplitStats_Stakes=0 TransparentWindows=0 MainWindowAlwaysOnTop=0 \
        OldestStatsInWeeks=52 ShowVPIP=1 ShowPFR=0 ShowWTSD=1 ShowWONSD=0 Show3BET=1 \
        ShowFT3BET=1 ShowCBET=1 ShowFTCBET=1 ShowAGFR=1
}

e2e_test_registry_weeks_out_of_range_are_clamped() {
    local stored shown
    for stored in 0xfffffffb:1 0x7fffffff:999 0x80000000:1 0:1 1000:999; do
        shown=${stored#*:}
        reg_add "$options_key" /v OldestStatsInWeeks /t REG_DWORD /d "${stored%%:*}"
        start_app /options
        wait_active "$options_caption"
        expect_text "$options_caption" "${id[IDC_WEEKS]}" "$shown"
        keys Escape
        expect_exit 1
        # The registry keeps the stored number until an OK.
        expect_option OldestStatsInWeeks "$(printf '%d' "${stored%%:*}")"
    done
}

# The PKR client's entry in either view of the machine key: a 32-bit installer on a 64-bit Windows
# writes only the 32-bit view, which a 64-bit program reads only when it asks for it.
e2e_test_registry_client_entry_only_in_the_32_bit_view() {
    local table
    table=$(pkr_install_with_table pkr32 91)
    reg_add "$machine_pkr_key" /v InstallDirectory /t REG_SZ /d 'C:\pkr32' /reg:32
    ! wine "$reg_exe" query "$machine_pkr_key" /reg:64 </dev/null >/dev/null 2>&1 ||
        fail "the entry reached the 64-bit view too"
    expect_first_start_lists "$table" 'C:\pkr32\handhistory'
}

e2e_test_registry_client_entry_only_in_the_64_bit_view() {
    local table
    table=$(pkr_install_with_table pkr64 92)
    reg_add "$machine_pkr_key" /v InstallDirectory /t REG_SZ /d 'C:\pkr64' /reg:64
    expect_first_start_lists "$table" 'C:\pkr64\handhistory'
}

e2e_test_registry_client_entry_in_both_views_the_32_bit_one_wins() {
    local table
    table=$(pkr_install_with_table pkr32 93)
    pkr_install_with_table pkr64 94 >/dev/null
    reg_add "$machine_pkr_key" /v InstallDirectory /t REG_SZ /d 'C:\pkr32' /reg:32
    reg_add "$machine_pkr_key" /v InstallDirectory /t REG_SZ /d 'C:\pkr64' /reg:64
    # and a user key, which a machine key overrules
    reg_add "$pkr_key" /v InstallDirectory /t REG_SZ /d 'C:\pkr64'
    expect_first_start_lists "$table" 'C:\pkr32\handhistory'
}

# Without any entry, a PKR folder in the 32-bit program files folder is the client's.
e2e_test_registry_no_client_entry_reads_the_32_bit_program_files_folder() {
    local install="$WINEPREFIX/drive_c/Program Files (x86)/PKR" table
    # Every other test expects no PKR folder there.
    # shellcheck disable=SC2064  # the folder as it is now
    trap "rm -rf '$install'; stop_app" EXIT
    rm -rf "$install"
    mkdir -p "$install/handhistory"
    "$sim_path" --out "$install/handhistory" --seed 96 --tables 1 --hands 12 >/dev/null ||
        fail "pkr-sim"
    table=$(basename "$(find "$install/handhistory" -name '*.txt' -path '*/20*' | head -1)" .txt)
    expect_first_start_lists "$table" 'C:\Program Files (x86)\PKR\handhistory'
}
