#!/usr/bin/env bash
# Runs every command that README.md and docs/user-guide.md show in their indented code blocks,
# so that a guide never shows a command that fails or an option that does not exist.
#
# The command-line tool, the simulator and the unit test filter run for real on a small
# simulated history in a temporary folder (placeholders such as FOLDER, FILE or DIR are filled in;
# a unit test filter must select a test). Commands that need Wine, a display, packages, a long
# run or a build of their own are checked for what can be checked quickly: the script exists and
# parses, the preset and targets exist, a test filter of ctest selects a test, the end-to-end
# test is defined, a Windows program is one the build makes, at the path the build puts it.
# Every option a command shows (--name, and /name after a Windows program) must be one its own
# usage text names: a program's --help, or, for one this build does not make, the usage text in
# its source (a kUsage or Usage() of its folder); a script's "Usage:" paragraph at its top, and a
# variable set in front of a script must be named in its opening comments. A command that none of
# these rules recognises fails the check: a new kind of command in a guide needs a rule here.
#
# Usage: scripts/check-doc-commands.sh [LINUX_BUILD_DIR [GUIDE...]]
#        (default build/linux, README.md and docs/user-guide.md)
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$repo_root/build/linux}" && pwd)
guides=("${@:2}")
[[ ${#guides[@]} -gt 0 ]] || guides=("$repo_root/README.md" "$repo_root/docs/user-guide.md")
tool="$build/tools/lanternquill/lanternquill"
sim="$build/tools/pkr-sim/pkr-sim"
bench="$build/tools/bench/lq-bench"
unit_tests="$build/tests/lanternquill_tests"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sim" --out "$work/history" --hands 300 --tables 3 --seed 7 >/dev/null
(cd "$work" && "$tool" import history >/dev/null)

checked=0
failed=0
fail() {
    echo "check-doc-commands: $1" >&2
    echo "    $2" >&2
    failed=$((failed + 1))
}

# The indented command lines of a Markdown file, outside fenced blocks; a line indented deeper
# than the one before continues it (a long synopsis), as does one after a trailing backslash.
commands_of() {
    awk '
        function add(text) {
            more = sub(/ *\\$/, "", text)
            line = line text
        }
        /^```/ { fence = !fence; next }
        fence { next }
        (/^        / || more) && open { sub(/^ +/, " "); add($0); next }
        /^    [^ -]/ { if (open) print line; line = ""; add(substr($0, 5)); open = 1; next }
        { if (open) print line; open = 0 }
        END { if (open) print line }
    ' "$1" | sed 's/  *# .*$//'
}

# The options a command line shows: each --name, and each /name after a Windows program.
shown_options() {
    local after_program=""
    [[ $1 =~ \.exe([[:space:]].*)$ ]] && after_program=${BASH_REMATCH[1]}
    {
        grep -oE -- '(^|[[:space:]|[])--[a-z][a-z0-9-]*' <<<"$1" || true
        grep -oE -- '(^|[[:space:]|[])/[a-z][a-z0-9-]*([][:space:]|]|$)' <<<"$after_program" || true
    } | sed 's/^[[:space:]|[]*//; s/[][:space:]|]*$//'
}

# check_options LINE USAGE WHOSE: each option of LINE must stand as an option of its own (not as
# the start of a longer one) in USAGE, the usage text of the program or script it runs.
check_options() {
    local line=$1 usage=$2 whose=$3 option
    while read -r option; do
        [[ -n $option ]] || continue
        if [[ -z $usage ]]; then
            fail "$whose has no usage text to check $option against" "$line"
        elif ! grep -qE -- "(^|[^a-zA-Z0-9-])$option([^a-zA-Z0-9-]|\$)" <<<"$usage"; then
            fail "option $option is not in the usage text of $whose" "$line"
        fi
    done < <(shown_options "$line" | sort -u)
}

# target_folder TARGET: the folder (from the repository's root) whose CMakeLists.txt defines the
# program or library TARGET; nothing when none does.
target_folder() {
    local lists
    lists=$(grep -rlE "add_(executable|library)\($1( |\$)" --include=CMakeLists.txt \
        "$repo_root" | grep -v "^$repo_root/build/" | head -1) || true
    [[ -z $lists ]] || dirname "${lists#"$repo_root"/}"
}

# source_usage FOLDER: the usage text a program prints, read from its sources in FOLDER (the
# string literals of its kUsage or Usage()), for a program this build does not make.
source_usage() {
    local file
    for file in "$repo_root/$1"/*.cpp; do
        [[ -f $file ]] || continue
        awk '
            !open && /(^|[^A-Za-z0-9_])(kUsage[^A-Za-z0-9_;(][^;(]*=|Usage\(\)[^;]*\{)/ { open = 1 }
            open {
                text = $0
                while (match(text, /"([^"\\]|\\.)*"/)) {
                    printf "%s", substr(text, RSTART + 1, RLENGTH - 2)
                    text = substr(text, RSTART + RLENGTH)
                }
                if (text ~ /;/) exit
            }
        ' "$file" | sed 's/\\n/\n/g; s/\\"/"/g'
    done
}

# program_usage NAME [BINARY]: the usage text of a program: BINARY's --help when it is built,
# else the one in its source.
program_usage() {
    if [[ -n ${2:-} && -x $2 ]]; then
        "$2" --help 2>&1 || true
        return
    fi
    local folder
    folder=$(target_folder "$1")
    [[ -z $folder ]] || source_usage "$folder"
}

# script_comments SCRIPT: the comments at the top of SCRIPT.
script_comments() {
    [[ ! -f $repo_root/${1%% *} ]] ||
        awk 'NR == 1 && /^#!/ { next } !/^#/ { exit } { print }' "$repo_root/${1%% *}"
}

# script_usage SCRIPT: the paragraph of SCRIPT's leading comments that begins with "Usage: SCRIPT"
# and ends at the next empty comment line.
script_usage() {
    awk -v script="$1" '
        NR == 1 && /^#!/ { next }
        !/^#/ { exit }
        { sub(/^# ?/, "") }
        open && /^[[:space:]]*$/ { exit }
        !open && index($0, "Usage: " script) == 1 { open = 1 }
        open { print }
    ' "$repo_root/$1"
}

# The guides' placeholders and the client's hand history folder, as paths in the work folder.
fill() {
    sed -e 's/FOLDER\.\.\./history/g; s/\bFOLDER\b/history/g; s/\bFILE\b/LanternquillCache_Trial.dat/g' \
        -e 's/\bDIR\b/sim-out/g; s/"C:\\Program Files[^"\\]*\\PKR\\handhistory"/history/g' <<<"$1"
}

run_in_work() {
    local line=$1 program=$2 args
    args=$(fill "$3")
    # shellcheck disable=SC2086  # the guide's arguments, split as a shell would
    if ! (cd "$work" && eval "\"$program\" $args" >"$work/stdout" 2>"$work/stderr"); then
        fail "exits with an error: $(head -c 300 "$work/stderr")" "$line"
    fi
}

check_target() {
    local line=$1 target=$2
    [[ -n $(target_folder "$target") ]] || fail "no build target '$target'" "$line"
}

check_presets_and_targets() {
    local line=$1 preset target
    preset=$(grep -oP -- '--preset \K[a-z-]+' <<<"$line")
    grep -q "\"name\": \"$preset\"" "$repo_root/CMakePresets.json" || fail "no preset '$preset'" "$line"
    if [[ $line == *--target* ]]; then
        local -a targets
        read -r -a targets <<<"${line#*--target }"
        for target in "${targets[@]}"; do
            check_target "$line" "$target"
        done
    fi
}

# script_parses LINE SCRIPT: the script exists and parses.
script_parses() {
    if [[ ! -f $repo_root/$2 ]]; then
        fail "no script $2" "$1"
    elif ! bash -n "$repo_root/$2"; then
        fail "$2 does not parse" "$1"
    else
        return 0
    fi
    return 1
}

# check_script LINE SCRIPT: the script exists, parses, has a usage text and names in it every
# option LINE shows.
check_script() {
    local line=$1 script=$2 usage
    if script_parses "$line" "$script"; then
        usage=$(script_usage "$script")
        if [[ -z $usage ]]; then
            fail "$script has no usage text (a paragraph \"Usage: $script ...\" at its top)" "$line"
        else
            check_options "$line" "$usage" "$script"
        fi
    fi
}

# check_ctest_filter LINE: a -R of a native preset must select at least one test.
check_ctest_filter() {
    local line=$1 pattern
    [[ $line =~ --preset\ linux(-asan)?\  && $line =~ -R\ +(\'[^\']*\'|[^ ]+) ]] || return 0
    pattern=${BASH_REMATCH[1]}
    pattern=${pattern#\'}
    pattern=${pattern%\'}
    if ! ctest --test-dir "$build" -N -R "$pattern" 2>/dev/null | grep -qE 'Total Tests: [1-9]'; then
        fail "ctest -R '$pattern' selects no test" "$line"
    fi
}

# check_windows_program LINE PROGRAM ARGS [FOLDER]: PROGRAM (a .exe, FOLDER the one it runs in) is
# one the windows build makes, named by the path the build puts it at, and ARGS show only options
# of its usage text.
check_windows_program() {
    local line=$1 program=$2 args=$3 in=${4:-} name folder
    program=${program//\\//}
    if [[ $program != *.exe ]]; then
        fail "runs '$program', not a Windows program of the build (.exe)" "$line"
        return
    fi
    name=${program##*/}
    name=${name%.exe}
    folder=$(target_folder "$name")
    if [[ -z $folder ]]; then
        fail "no build target '$name'" "$line"
        return
    fi
    if [[ $program == */* || -n $in ]]; then
        local path
        path=$(realpath -m --relative-to="$repo_root" "$repo_root/$in/$program")
        [[ $path == "build/windows/$folder/$name.exe" ]] ||
            fail "$program: the build puts $name.exe at build/windows/$folder/" "$line"
    fi
    check_options "$name.exe $args" "$(program_usage "$name")" "$name.exe"
}

# check_wine LINE: "[cd FOLDER &&] [VAR=value...] wine PROGRAM [ARG...] [&]".
check_wine() {
    local line=$1 part in="" word program="" args=""
    local -a words
    while read -r part; do
        read -r -a words <<<"$part"
        if [[ ${words[0]:-} == cd ]]; then
            in=${words[1]:-}
            continue
        fi
        for word in "${words[@]}"; do
            if [[ -z $program ]]; then
                if [[ $word == wine ]]; then
                    program=-
                elif [[ $word != *=* ]]; then
                    break
                fi
            elif [[ $program == - ]]; then
                program=$word
            elif [[ $word != "&" ]]; then
                args+=" $word"
            fi
        done
    done <<<"${line//&&/$'\n'}"
    if [[ -z $program || $program == - ]]; then
        fail "no program after wine" "$line"
    else
        check_windows_program "$line" "$program" "$args" "$in"
    fi
}

check_line() {
    local line=$1 rest variables=""
    checked=$((checked + 1))
    # Variables set in front of a command: a script's must be ones its opening comments name.
    while [[ $line =~ ^([A-Z_][A-Z0-9_]*)=[^[:space:]]*[[:space:]]+(.*)$ && $line != *" wine "* ]]; do
        variables+=" ${BASH_REMATCH[1]}"
        line=${BASH_REMATCH[2]}
    done
    case $line in
        "bash tests/e2e/run.sh "*)
            check_script "$line" tests/e2e/run.sh
            for rest in ${line#bash tests/e2e/run.sh }; do
                [[ $rest == "[TEST...]" ]] && continue
                grep -qh "^e2e_test_$rest()" "$repo_root"/tests/e2e/*_tests.sh ||
                    fail "no end-to-end test '$rest'" "$line"
            done
            ;;
        "bash -c 'source scripts/"*)
            rest=${line#bash -c \'source }
            script_parses "$line" "${rest%% *}" || true
            check_presets_and_targets "$line"
            ;;
        "bash scripts/"* | "bash tools/"*)
            rest=${line#bash }
            check_script "$line" "${rest%% *}"
            for rest in $variables; do
                script_comments "${line#bash }" | grep -qw -- "$rest" ||
                    fail "${rest} is not named at the top of ${line#bash }" "$line"
            done
            ;;
        "cmake --preset "* | "cmake --build --preset "* | "ctest --preset "*)
            check_presets_and_targets "$line"
            check_ctest_filter "$line"
            ;;
        "lanternquill "* | "cli\\lanternquill.exe "*)
            rest=${line#* }
            if [[ $rest == *"["* ]]; then
                check_options "$line" "$(program_usage lanternquill "$tool")" lanternquill
            else
                run_in_work "$line" "$tool" "$rest"
            fi
            ;;
        "pkr-sim "*)
            rest=${line#pkr-sim }
            if [[ $rest == *"["* ]]; then
                check_options "$line" "$(program_usage pkr-sim "$sim")" pkr-sim
            else
                run_in_work "$line" "$sim" "$rest --hands 20"
            fi
            ;;
        "build/linux/tools/bench/lq-bench "*)
            # A build without the benchmark (linux-asan) reads the usage text in its source.
            check_options "$line" "$(program_usage lq-bench "$bench")" lq-bench
            ;;
        "build/linux/tests/lanternquill_tests "*)
            run_in_work "$line" "$unit_tests" "${line#* } --gtest_brief=1"
            grep -qE '^\[=+\] [1-9][0-9]* tests? from' "$work/stdout" ||
                fail "runs no test" "$line"
            ;;
        "build/linux-fuzz/fuzz/"*)
            rest=${line#build/linux-fuzz/fuzz/}
            rest=${rest%% *}
            if [[ ! -f $repo_root/fuzz/$rest.cpp ]] || ! grep -q "$rest" "$repo_root/fuzz/CMakeLists.txt"; then
                fail "no fuzz target '$rest'" "$line"
            fi
            rest=$(grep -oP -- '-dict=\K[^ ]+' <<<"$line" || true)
            [[ -z $rest || -f $repo_root/$rest ]] || fail "no dictionary $rest" "$line"
            ;;
        *".exe "* | *".exe")
            if [[ $line =~ (^|[[:space:]])wine[[:space:]] ]]; then
                check_wine "$line"
            else
                check_windows_program "$line" "${line%% *}" "${line#* }"
            fi
            ;;
        *"wine "*)
            check_wine "$line"
            ;;
        *)
            fail "no rule to check this command" "$line"
            ;;
    esac
}

for guide in "${guides[@]}"; do
    while IFS= read -r line; do
        check_line "$line"
    done < <(commands_of "$guide")
done

echo "check-doc-commands: $checked commands checked, $failed failed"
[[ $failed -eq 0 ]]
