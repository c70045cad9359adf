# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# Who may write the cache file, and what the player is told when the program cannot: the
# command-line tool's import and a second Lanternquill refused while Lanternquill has the cache
# loaded, and a cache folder the program may not write, told at start and again when the exit
# save fails. Sourced by run.sh.

cache_notice_caption="Lanternquill Statistics"

# expect_notice TEXT...: waits for the program's message about its statistics file, checks that
# its text holds every TEXT, and answers it with OK.
expect_notice() {
    wait_active "$cache_notice_caption"
    local shown part
    shown=$(probe controls "$cache_notice_caption") || fail "cannot read the message"
    screenshot notice
    for part in "$@"; do
        [[ $shown == *"$part"* ]] || fail "the message lacks \"$part\": $shown"
    done
    probe press "$cache_notice_caption" "${id[IDOK]}" >/dev/null || fail "cannot answer the message"
    probe gone "$cache_notice_caption" $((e2e_wait_seconds * 1000)) >/dev/null ||
        fail "the message stayed open"
}

# win_import CACHE FOLDER: the Windows build of the tool imports FOLDER (run from the work
# folder) into CACHE; sets import_status and import_output (both streams).
win_import() {
    import_status=0
    import_output=$(cd "$e2e_work_dir" &&
        wine "$win_cli_exe" import --cache "$1" "$2" </dev/null 2>&1) || import_status=$?
}

# hands_in CACHE: the number of counted hands the cache file holds.
hands_in() {
    "$cli_path" dump "$1" | sed -n 's/^hands: //p'
}

e2e_test_import_is_refused_while_the_program_has_the_cache() {
    require_executable "$win_cli_exe"
    local cache="$e2e_work_dir/LanternquillCache_Trial.dat"
    "$sim_path" --out "$e2e_work_dir/more" --seed 78 --tables 1 --hands 12 >/dev/null ||
        fail "pkr-sim"
    start_with_cache
    cp "$cache" "$e2e_work_dir/before.dat"

    # The same file under another spelling: its full Windows path in capitals.
    local spelled
    spelled=$(wine_path "$cache" | tr '[:lower:]' '[:upper:]')
    win_import "$spelled" more
    ((import_status == 1)) ||
        fail "the import ended with status $import_status while the program ran: $import_output"
    [[ $import_output == *"is in use by Lanternquill.exe"*"nothing was imported"* ]] ||
        fail "the refusal does not name the program: $import_output"
    cmp -s "$cache" "$e2e_work_dir/before.dat" || fail "the refused import changed the cache file"

    # A second Lanternquill in the same folder says so and ends; the first one runs on.
    local first=$app_pid
    start_app
    expect_notice "is in use by a Lanternquill that is already running" "$(wine_path "$cache")"
    expect_exit 1
    app_pid=$first
    kill -0 "$app_pid" 2>/dev/null || fail "the first program ended"
    probe wait "$main_caption" 0 >/dev/null || fail "the first program's window is gone"

    close_main
    expect_exit 0
    win_import LanternquillCache_Trial.dat more
    ((import_status == 0)) ||
        fail "the import ended with status $import_status after the program: $import_output"
    local reference="$e2e_work_dir/reference.dat"
    "$cli_path" import --cache "$reference" "$e2e_work_dir/kept" "$e2e_work_dir/more" \
        >/dev/null 2>&1 || fail "reference import"
    [[ $(hands_in "$cache") == "$(hands_in "$reference")" ]] ||
        fail "the cache holds $(hands_in "$cache") hands after the import, expected $(hands_in "$reference")"
}

e2e_test_unwritable_cache_folder_is_told_at_start_and_at_exit() {
    local folder="$e2e_work_dir/read-only"
    local cache="$folder/LanternquillCache_Trial.dat"
    mkdir -p "$folder"
    "$sim_path" --out "$e2e_work_dir/kept" --seed 77 --tables 1 --hands "$kept_hands" \
        >/dev/null || fail "pkr-sim"
    "$cli_path" import --cache "$cache" "$e2e_work_dir/kept" >/dev/null 2>&1 ||
        fail "cannot write a cache file"
    cp "$windows_build/app/RestoreOverlayPositions.reg" "$folder/"
    cp "$cache" "$e2e_work_dir/before.dat"
    # New hands to count, so that the session has statistics the exit must save (a session that
    # changed nothing leaves the cache file alone).
    use_pkr_install
    "$sim_path" --out "$history_dir" --seed 79 --tables 1 --hands 12 >/dev/null || fail "pkr-sim"

    # Root writes through permission bits; an immutable folder refuses even root (ext4 and a few
    # others, and only with the capability to set it).
    chattr +i "$folder" 2>"$e2e_work_dir/chattr.log" ||
        skip "chattr +i is not available where the build folder is: $(cat "$e2e_work_dir/chattr.log")"
    # shellcheck disable=SC2064  # the folder's name now: the test's variables are gone at exit
    trap "chattr -i '$folder' 2>/dev/null || true; stop_app" EXIT
    if touch "$folder/probe" 2>/dev/null; then
        rm -f "$folder/probe"
        skip "an immutable folder is still writable here"
    fi

    app_dir=$folder start_app
    # The first cycle ends with the information panel, then the warning.
    wait_active "$panel_caption"
    close_panel
    expect_notice "cannot write in the folder $(wine_path "$folder"): " \
        "Run Lanternquill from a folder it may write"
    wait_active "$main_caption"

    close_main
    expect_notice "could not save its statistics to $(wine_path "$cache"): " \
        "Run Lanternquill from a folder it may write"
    expect_exit 0
    cmp -s "$cache" "$e2e_work_dir/before.dat" || fail "the cache file changed"
    [[ $(find "$folder" -mindepth 1 | wc -l) -eq 2 ]] ||
        fail "files appeared in the folder: $(ls -A "$folder")"
}
