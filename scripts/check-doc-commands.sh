#!/usr/bin/env bash
# Runs every command that README.md and docs/user-guide.md show in their indented code blocks,
# so that a guide never shows a command that fails or an option that does not exist.
#
# The command-line tool, the simulator and the unit test filter run for real on a small
# simulated history in a temporary folder (placeholders such as FOLDER, FILE or DIR are filled in;
# a synopsis with [options] has each option checked against the program's --help). Commands
# that need Wine, a display, packages, a long run or a build of their own are checked for what
# can be checked quickly: the script exists and parses, the preset and targets exist, the end-to-
# end test is defined, the options appear in the program's source. A command that none of these
# rules recognises fails the check: a new kind of command in a guide needs a rule here.
#
# Usage: scripts/check-doc-commands.sh [LINUX_BUILD_DIR]   (default build/linux)
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$repo_root/build/linux}" && pwd)
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

# Each --option of a synopsis line must appear in the text the program gives for --help.
check_options() {
    local line=$1 help=$2 option
    while read -r option; do
        grep -q -- "$option\b" <<<"$help" || fail "option $option is not in the program's help" "$line"
    done < <(grep -o -- '--[a-z][a-z-]*' <<<"$line" | sort -u)
}

# The guides' placeholders, filled with paths in the work folder.
fill() {
    sed -e 's/FOLDER\.\.\./history/g; s/\bFOLDER\b/history/g; s/\bFILE\b/LanternquillCache_Trial.dat/g' \
        -e 's/\bDIR\b/sim-out/g; s/"C:\\Program Files\\PKR\\handhistory"/history/g' <<<"$1"
}

run_in_work() {
    local line=$1 program=$2 args
    args=$(fill "$3")
    # shellcheck disable=SC2086  # the guide's arguments, split as a shell would
    if ! (cd "$work" && eval "\"$program\" $args" >/dev/null 2>"$work/stderr"); then
        fail "exits with an error: $(head -c 300 "$work/stderr")" "$line"
    fi
}

check_target() {
    local line=$1 target=$2
    grep -rqE "add_(executable|library)\($target( |$)" --include=CMakeLists.txt "$repo_root" ||
        fail "no build target '$target'" "$line"
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

check_script() {
    local line=$1 script=$2
    if [[ ! -f $repo_root/$script ]]; then
        fail "no script $script" "$line"
    elif ! bash -n "$repo_root/$script"; then
        fail "$script does not parse" "$line"
    fi
}

check_line() {
    local line=$1 rest
    checked=$((checked + 1))
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
            check_script "$line" "${rest%% *}"
            check_presets_and_targets "$line"
            ;;
        "bash scripts/"*)
            rest=${line#bash }
            check_script "$line" "${rest%% *}"
            ;;
        "cmake --preset "* | "cmake --build --preset "* | "ctest --preset "*)
            check_presets_and_targets "$line"
            ;;
        "lanternquill "* | "cli\\lanternquill.exe "*)
            rest=${line#* }
            if [[ $rest == *"["* ]]; then
                check_options "$line" "$("$tool" --help)"
            else
                run_in_work "$line" "$tool" "$rest"
            fi
            ;;
        "pkr-sim "*)
            rest=${line#pkr-sim }
            if [[ $rest == *"["* ]]; then
                check_options "$line" "$("$sim" --help)"
            else
                run_in_work "$line" "$sim" "$rest --hands 20"
            fi
            ;;
        "build/linux/tools/bench/lq-bench "*)
            if [[ -x $bench ]]; then
                check_options "$line" "$("$bench" --help 2>&1)"
            else  # a build without the benchmark: the options its source reads
                check_options "$line" "$(cat "$repo_root"/tools/bench/*.cpp)"
            fi
            ;;
        "build/linux/tests/lanternquill_tests "*)
            run_in_work "$line" "$unit_tests" "${line#* } --gtest_brief=1"
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
        "pkr-standin.exe "*)
            # A Windows program: its options must be ones its source reads.
            check_options "$line" "$(cat "$repo_root"/tools/pkr-standin/*.cpp)"
            ;;
        *"wine "*)
            while read -r rest; do
                check_target "$line" "$rest"
            done < <(grep -oP '[A-Za-z-]+(?=\.exe)' <<<"$line")
            ;;
        *)
            fail "no rule to check this command" "$line"
            ;;
    esac
}

for guide in README.md docs/user-guide.md; do
    while IFS= read -r line; do
        check_line "$line"
    done < <(commands_of "$repo_root/$guide")
done

echo "check-doc-commands: $checked commands checked, $failed failed"
[[ $failed -eq 0 ]]
