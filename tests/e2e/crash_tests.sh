# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers and paths come from e2e-lib.sh
# The crash report: the hidden /crash-test switch writes to address 0, and the program must leave
# LanternquillCrash.txt (and a minidump where the system provides one) in its current folder and
# end, with no dialog waiting. Sourced by run.sh.

# A process ended by an unhandled exception has the exception's code as its exit status; Wine
# hands the low byte to Linux (0xC0000005, an access violation, gives 5).
crash_exit_status=5

e2e_test_crash_report_names_the_fault_and_the_program_ends() {
    # A cache file beside it stays as it was.
    printf 'not a cache\n' >"$e2e_work_dir/LanternquillCache_Trial.dat"
    start_app /crash-test
    expect_exit "$crash_exit_status"

    local report="$e2e_work_dir/LanternquillCrash.txt"
    [[ -f $report ]] || fail "no LanternquillCrash.txt in the program's folder"
    local text
    text=$(cat "$report")
    local line
    for line in "Lanternquill $main_caption crash report" \
        "Exception: 0xC0000005 EXCEPTION_ACCESS_VIOLATION" \
        "Access: write of address 0x0000000000000000"; do
        grep -qxF "$line" <<<"$text" || fail "the report lacks \"$line\": $text"
    done
    grep -qE '^Time \(UTC\): [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' <<<"$text" ||
        fail "the report has no time line: $text"
    # The fault lies in the program itself, at an offset inside it.
    grep -qE '^Module: .*\\Lanternquill\.exe \+ 0x[0-9A-F]+$' <<<"$text" ||
        fail "the report does not place the fault in Lanternquill.exe: $text"
    grep -q '^Minidump: ' <<<"$text" || fail "the report does not say what became of the dump"
    if grep -qxF "Minidump: LanternquillCrash.dmp" <<<"$text"; then
        [[ $(head -c 4 "$e2e_work_dir/LanternquillCrash.dmp") == MDMP ]] ||
            fail "LanternquillCrash.dmp is not a minidump"
    fi
    [[ $(cat "$e2e_work_dir/LanternquillCache_Trial.dat") == "not a cache" ]] ||
        fail "the crash changed the cache file"
    grep -m1 '^Minidump: ' <<<"$text"
}
