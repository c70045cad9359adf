# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# Folders and table files whose names are not plain ASCII: a Latin-1 screen name and table
# ("Jürgen", "Tisch Größe"), names outside the ANSI code page (Cyrillic, CJK), and a plain one
# holding the same hands as the Latin-1 table. The command-line tool and the program import every
# file and count each hand once. Sourced by run.sh.

# The hands of the simulated tables and the hero's name, as the files hold it: code page 1252.
unicode_hands=90
unicode_hero=$'J\xf6rg'
unicode_tables=("Tisch Größe" "Стол 1" "牌桌 二" "plain table")

# unicode_history DIR: the four tables under DIR/<screen name>/20090301/ (Linux UTF-8 names,
# which Wine shows Windows programs as the same characters).
unicode_history() {
    local sim="$e2e_work_dir/sim" files
    "$sim_path" --out "$sim" --seed 61 --tables 3 --hands "$unicode_hands" >/dev/null ||
        fail "pkr-sim"
    mapfile -t files < <(find "$sim" -name '*.txt' | sort)
    ((${#files[@]} == 3)) || fail "pkr-sim wrote ${#files[@]} tables, expected 3"
    unicode_table "$1" "Jürgen" "${files[0]}" "${unicode_tables[0]}"
    unicode_table "$1" "Игорь" "${files[1]}" "${unicode_tables[1]}"
    unicode_table "$1" "玩家" "${files[2]}" "${unicode_tables[2]}"
    unicode_table "$1" "plain" "${files[0]}" "${unicode_tables[3]}"
}

# unicode_table DIR SCREEN_NAME SOURCE TABLE: one table file, the hero renamed.
unicode_table() {
    mkdir -p "$1/$2/20090301"
    sed "s/Hero/$unicode_hero/g" "$3" >"$1/$2/20090301/$4.txt"
}

# win_cli ARG...: the Windows command-line tool under Wine; its output in cli_out.
win_cli() {
    cli_out=$(cd "$e2e_work_dir" && wine "$win_cli_exe" "$@" </dev/null 2>"$e2e_work_dir/cli.err") ||
        fail "lanternquill.exe $1 failed: $cli_out $(cat "$e2e_work_dir/cli.err")"
}

e2e_test_unicode_cli_imports_every_name_once() {
    local history="$e2e_work_dir/hh" cache="$e2e_work_dir/кэш Größe.dat"
    unicode_history "$history"

    win_cli import --cache "$(wine_path "$cache")" "$(wine_path "$history")"
    # Every file is read; the plain table repeats the Latin-1 one's hands, so it brings none new
    # and is not counted as imported.
    [[ $cli_out == "Imported 3 files: $unicode_hands new hands,"* ]] ||
        fail "first import: $cli_out"
    [[ $cli_out == *$'\n1 file was read without a new hand'* ]] || fail "first import: $cli_out"
    expect_same_counters "$cache" "$history"
    # The file cache holds the paths the code page can: the Latin-1 one in its bytes.
    grep -qaF $'J\xfcrgen\\20090301\\Tisch Gr\xf6\xdfe.txt' "$cache" ||
        fail "the cache file lacks the Latin-1 path in code page 1252"

    # Again: paths the cache file could not hold are read again, their hands not counted twice.
    win_cli import --cache "$(wine_path "$cache")" "$(wine_path "$history")"
    [[ $cli_out =~ ^Imported\ [0-2]\ files:\ 0\ new\ hands, ]] || fail "second import: $cli_out"
    expect_same_counters "$cache" "$history"

    # A folder named by its Cyrillic name, into a cache of another Cyrillic name.
    win_cli import --cache "$(wine_path "$e2e_work_dir/один.dat")" "$(wine_path "$history/Игорь")"
    [[ $cli_out =~ ^Imported\ 1\ file:\ [1-9][0-9]*\ new\ hands, ]] ||
        fail "import of the Cyrillic folder: $cli_out"

    # A player's name with a Latin-1 letter, given as the user types it.
    win_cli stats --cache "$(wine_path "$cache")" --player "Jörg" --format csv
    [[ $(grep -c '' <<<"$cli_out") -eq 2 && $cli_out == *$'\n'*",$unicode_hands,"* ]] ||
        fail "stats of Jörg: $cli_out"
}

e2e_test_unicode_program_first_import_lists_every_table() {
    local install="pkr-Jürgen-Игорь" expected
    history_dir="$WINEPREFIX/drive_c/$install/handhistory"
    rm -rf "${WINEPREFIX:?}/drive_c/$install"
    unicode_history "$history_dir"
    reg_add "$pkr_key" /v InstallDirectory /t REG_SZ /d "C:\\$install"

    start_app
    wait_active "$importer_caption"
    expect_text_contains "$importer_caption" 65535 \
        "You have 4 tables of hand history in this period."
    keys Return
    wait_active "$panel_caption"
    expect_text_contains "$panel_caption" "${id[IDC_INFO_TEXT]}" \
        "Database contains $unicode_hands Hands on"
    close_panel
    expect_list_count 4
    screenshot tables-listed
    expected=$(printf '%s\n' "${unicode_tables[@]}" | sort)
    [[ $(list_lines | sed 's/^..//' | sort) == "$expected" ]] ||
        fail "the table list holds \"$(list_lines)\", expected the names \"$expected\""
    close_main
    expect_exit 0
    expect_same_counters "$e2e_work_dir/LanternquillCache_Trial.dat" "$history_dir"
}
