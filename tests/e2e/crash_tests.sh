# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers and paths come from e2e-lib.sh
# The crash report: the hidden /crash-test switch writes to address 0, overflows the stack or
# corrupts the process heap, and the program must leave a report named with the time
# (LanternquillCrash-<date>-<time>.txt, and a minidump beside it where the system provides one) in
# its current folder, never over an earlier one, and end, with no dialog waiting. Sourced by
# run.sh.

# A process ended by an unhandled exception has the exception's code as its exit status; Wine
# hands the low byte to Linux (0xC0000005, an access violation, gives 5; 0xC00000FD, a stack
# overflow, 253; 0xC0000374, a heap corruption, 116).
crash_exit_status=5

# The crash reports in the program's folder, one name a line, oldest name first.
crash_reports() {
    (cd "$e2e_work_dir" && compgen -G 'LanternquillCrash-*.txt' | sort) || true
}

# expect_crash_report REPORT LINE...: the report holds each line, a time line, and a Minidump
# line that is true: the dump it names is a minidump; a dump not written left no file.
expect_crash_report() {
    local report=$1
    shift
    local text
    text=$(cat "$e2e_work_dir/$report")
    local line
    for line in "Lanternquill $main_caption crash report" "$@"; do
        grep -qxF "$line" <<<"$text" || fail "$report lacks \"$line\": $text"
    done
    grep -qE '^Time \(UTC\): [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' <<<"$text" ||
        fail "$report has no time line: $text"
    # The name is the report's own time.
    local stamp
    stamp=$(sed -nE 's/^Time \(UTC\): ([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{2}):([0-9]{2}):([0-9]{2})$/\1\2\3-\4\5\6/p' <<<"$text")
    [[ $report =~ ^LanternquillCrash-$stamp(-[0-9]+)?\.txt$ ]] ||
        fail "$report is not named with the report's time $stamp"
    local dump=${report%.txt}.dmp
    if grep -qxF "Minidump: $dump" <<<"$text"; then
        [[ $(head -c 4 "$e2e_work_dir/$dump") == MDMP ]] || fail "$dump is not a minidump"
    else
        grep -q '^Minidump: not written (' <<<"$text" ||
            fail "$report does not say what became of the dump: $text"
        [[ ! -e $e2e_work_dir/$dump ]] || fail "$report says no dump, yet $dump is there"
    fi
    grep -m1 '^Minidump: ' <<<"$text"
}

# The fault lies in the program itself, at an offset inside it.
crash_in_program_line='^Module: .*\\Lanternquill\.exe \+ 0x[0-9A-F]+$'

e2e_test_crash_report_names_the_fault_and_the_program_ends() {
    # A cache file beside it stays as it was.
    printf 'not a cache\n' >"$e2e_work_dir/LanternquillCache_Trial.dat"
    start_app /crash-test
    expect_exit "$crash_exit_status"

    local report
    report=$(crash_reports)
    [[ $report == LanternquillCrash-*.txt && $report != *$'\n'* ]] ||
        fail "not one crash report in the program's folder: $(ls "$e2e_work_dir")"
    expect_crash_report "$report" "Exception: 0xC0000005 EXCEPTION_ACCESS_VIOLATION" \
        "Access: write of address 0x0000000000000000"
    grep -qE "$crash_in_program_line" "$e2e_work_dir/$report" ||
        fail "the report does not place the fault in Lanternquill.exe: $(cat "$e2e_work_dir/$report")"
    [[ $(cat "$e2e_work_dir/LanternquillCache_Trial.dat") == "not a cache" ]] ||
        fail "the crash changed the cache file"
}

e2e_test_two_crashes_leave_two_reports_and_earlier_files_stay() {
    # An earlier version's report, and for the next 20 seconds the report or the dump of each
    # second's name: the crashes below land on taken names, and none may be replaced.
    local earlier="an earlier crash"
    printf '%s\n' "$earlier" >"$e2e_work_dir/LanternquillCrash.txt"
    local second name
    for second in {0..19}; do
        name=LanternquillCrash-$(date -u -d "+$second seconds" +%Y%m%d-%H%M%S)
        printf '%s\n' "$earlier" >"$e2e_work_dir/$name.$( ((second % 2)) && echo dmp || echo txt)"
    done
    local before
    before=$(cd "$e2e_work_dir" && ls LanternquillCrash*)

    start_app /crash-test
    expect_exit "$crash_exit_status"
    start_app /crash-test
    expect_exit "$crash_exit_status"

    for name in $before; do
        [[ $(cat "$e2e_work_dir/$name") == "$earlier" ]] || fail "a crash replaced $name"
    done
    local new
    new=$(comm -13 <(echo "$before") <(cd "$e2e_work_dir" && ls LanternquillCrash*.txt))
    [[ $(wc -l <<<"$new") -eq 2 ]] || fail "two crashes left other than two new reports: $new"
    for name in $new; do
        expect_crash_report "$name" "Exception: 0xC0000005 EXCEPTION_ACCESS_VIOLATION"
    done
    # Only the reports and their dumps are new: a report whose dump name was taken is not left.
    local all_new
    all_new=$(comm -13 <(echo "$before") <(cd "$e2e_work_dir" && ls LanternquillCrash*))
    [[ $(grep -cv '\.txt$' <<<"$all_new") -le 2 ]] || fail "files beside the two reports: $all_new"
    echo "$new"
}

e2e_test_a_stack_overflow_is_reported_and_the_program_ends() {
    start_app /crash-test stack
    expect_exit 253
    local report
    report=$(crash_reports)
    [[ -n $report ]] || fail "a stack overflow left no report: $(ls "$e2e_work_dir")"
    expect_crash_report "$report" "Exception: 0xC00000FD EXCEPTION_STACK_OVERFLOW" \
        "Minidump: ${report%.txt}.dmp"
    grep -qE "$crash_in_program_line" "$e2e_work_dir/$report" ||
        fail "the report does not place the overflow in Lanternquill.exe"
}

e2e_test_a_crash_inside_the_heap_is_reported_and_the_program_ends() {
    start_app /crash-test heap
    # The heap's code faults holding the heap's lock: the report is written all the same, the
    # dump (which needs the heap) is given up after 30 seconds, and the program ends.
    # shellcheck disable=SC2034  # read by expect_exit
    local e2e_wait_seconds=60
    expect_exit "$crash_exit_status"
    local report
    report=$(crash_reports)
    [[ -n $report ]] || fail "a crash inside the heap left no report: $(ls "$e2e_work_dir")"
    expect_crash_report "$report" "Exception: 0xC0000005 EXCEPTION_ACCESS_VIOLATION"
    grep -qE '^Module: .*\\ntdll\.dll \+ 0x[0-9A-F]+$' "$e2e_work_dir/$report" ||
        fail "the report does not place the fault in the system's heap code: $(cat "$e2e_work_dir/$report")"
}
