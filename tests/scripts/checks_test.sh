#!/usr/bin/env bash
# The repository's own checks fed the faults they exist to catch, and cases they must let
# through: the include direction (scripts/check-layers.sh), the guides' commands
# (scripts/check-doc-commands.sh) and the soak's verdict (tests/e2e/soak-lib.sh, scripts/soak.sh).
#
# Usage: tests/scripts/checks_test.sh LINUX_BUILD_DIR   (run by ctest as script_checks)
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?the linux build folder}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# expect_lines OUTPUT WHAT LINE...: every LINE (a fixed string) appears in OUTPUT.
expect_lines() {
    local output=$1 what=$2 line
    shift 2
    for line in "$@"; do
        grep -qF -- "$line" <<<"$output" || fail "$what: '$line' not reported"
    done
}

# --- include direction -------------------------------------------------------------------------

# A tree of the five layers whose includes all keep the rules.
make_layer_tree() {
    local root=$1
    mkdir -p "$root"/{platform/win32,platform/posix,history,overlay,hud,app,resources}
    touch "$root"/platform/{FileIo.h,win32/ScopedWin.h} "$root"/history/{StatsStore.h,Other.h} \
        "$root"/overlay/Settings.h "$root"/hud/SeatText.h "$root"/resources/resource.h
    cat >"$root/history/StatsStore.cpp" <<'EOF'
#include "history/StatsStore.h"
#include "Other.h"
#include "../platform/FileIo.h"
#include <platform/FileIo.h>
#include "resources/resource.h"
#include "LanternquillVersion.h"
#include <cstdio>
#include <emmintrin.h>
EOF
    cat >"$root/platform/posix/PosixFileIo.cpp" <<'EOF'
#include "platform/FileIo.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
EOF
    cat >"$root/hud/TableHudDlg.cpp" <<'EOF'
#include <windows.h>
#include <windowsx.h>
#include "../platform/win32/ScopedWin.h"
#include "hud/SeatText.h"
EOF
    cat >"$root/app/CrashHandler.cpp" <<'EOF'
#include <windows.h>
#include <dbghelp.h>
EOF
}

# The faults, one a line, each with what the check must report for it.
add_layer_faults() {
    local root=$1
    cat >"$root/history/Faults.cpp" <<'EOF'
#include <dbghelp.h>
#include <winreg.h>
#include <shlobj.h>
#include <io.h>
#include <share.h>
#include <Windows.h>
#include "windows.h"
#include "../hud/SeatText.h"
#include <overlay/Settings.h>
#include "../platform/win32/ScopedWin.h"
# include "platform/posix/../win32/ScopedWin.h"
EOF
    cat >"$root/platform/posix/Faults.cpp" <<'EOF'
#include <windows.h>
#include "../win32/ScopedWin.h"
#include "../../history/StatsStore.h"
EOF
    cat >"$root/platform/posix/Helpers.h" <<'EOF'
#pragma once
EOF
    cat >"$root/hud/SeatFaults.cpp" <<'EOF'
#include "platform/posix/Helpers.h"
#include <process.h>
EOF
}

layer_faults=(
    "history/Faults.cpp:1: includes <dbghelp.h>"
    "history/Faults.cpp:2: includes <winreg.h>"
    "history/Faults.cpp:3: includes <shlobj.h>"
    "history/Faults.cpp:4: includes <io.h>"
    "history/Faults.cpp:5: includes <share.h>"
    "history/Faults.cpp:6: includes <Windows.h>"
    "history/Faults.cpp:7: includes \"windows.h\""
    "history/Faults.cpp:8: includes \"../hud/SeatText.h\" (hud/SeatText.h): hud/ is a layer above"
    "history/Faults.cpp:9: includes <overlay/Settings.h> (overlay/Settings.h): overlay/ is a layer"
    "history/Faults.cpp:10: includes \"../platform/win32/ScopedWin.h\" (platform/win32/ScopedWin.h)"
    "history/Faults.cpp:11: includes \"platform/posix/../win32/ScopedWin.h\" (platform/win32/"
    "platform/posix/Faults.cpp:1: includes <windows.h>"
    "platform/posix/Faults.cpp:2: includes \"../win32/ScopedWin.h\" (platform/win32/ScopedWin.h)"
    "platform/posix/Faults.cpp:3: includes \"../../history/StatsStore.h\" (history/StatsStore.h)"
    "hud/SeatFaults.cpp:1: includes \"platform/posix/Helpers.h\" (platform/posix/Helpers.h)"
    "hud/SeatFaults.cpp:2: includes <process.h>"
)

test_layers() {
    local compiler tree output
    # With the cross compiler's headers, and with the list that stands in without them.
    for compiler in x86_64-w64-mingw32-g++-posix none; do
        if [[ $compiler != none ]] && ! command -v "$compiler" >/dev/null; then
            echo "check-layers: $compiler not installed, its headers not tried"
            continue
        fi
        tree="$work/layers-$compiler"
        make_layer_tree "$tree"
        if ! output=$(LQ_MINGW_CXX=$compiler bash "$repo_root/scripts/check-layers.sh" "$tree" 2>&1)
        then
            fail "check-layers ($compiler) rejects a tree that keeps the rules: $output"
        fi
        add_layer_faults "$tree"
        if output=$(LQ_MINGW_CXX=$compiler bash "$repo_root/scripts/check-layers.sh" "$tree" 2>&1)
        then
            fail "check-layers ($compiler) passes a tree with wrong-way includes"
        fi
        expect_lines "$output" "check-layers ($compiler)" "${layer_faults[@]}"
        [[ $(grep -c ': includes ' <<<"$output") -eq ${#layer_faults[@]} ]] ||
            fail "check-layers ($compiler) reports more than the faults: $output"
    done
}

# --- guides' commands --------------------------------------------------------------------------

# A build folder with the programs the command check runs; without lq-bench, as in a build
# without the benchmark.
make_build_without_bench() {
    local fake="$work/build-without-bench"
    mkdir -p "$fake"/tools/{lanternquill,pkr-sim} "$fake/tests"
    ln -s "$build/tools/lanternquill/lanternquill" "$fake/tools/lanternquill/"
    ln -s "$build/tools/pkr-sim/pkr-sim" "$fake/tools/pkr-sim/"
    ln -s "$build/tests/lanternquill_tests" "$fake/tests/"
    echo "$fake"
}

# A guide with COMMAND... as its indented command lines.
write_guide() {
    local guide=$1
    shift
    {
        echo "# A guide"
        printf '\n    %s\n' "$@"
    } >"$guide"
}

# expect_doc_verdicts BUILD GOOD|BAD COMMAND...: each command alone passes or fails the check.
expect_doc_verdicts() {
    local build_dir=$1 verdict=$2 command output
    shift 2
    for command in "$@"; do
        write_guide "$work/guide.md" "$command"
        if output=$(bash "$repo_root/scripts/check-doc-commands.sh" "$build_dir" "$work/guide.md" \
            2>&1); then
            [[ $verdict == GOOD ]] || fail "check-doc-commands passes: $command"
        else
            [[ $verdict == BAD ]] || fail "check-doc-commands rejects: $command: $output"
        fi
    done
}

# shellcheck disable=SC2016  # the guides' lines as they are written, $PWD and all
test_doc_commands() {
    expect_doc_verdicts "$build" BAD \
        'bash scripts/soak.sh --sekonds 5' \
        'bash scripts/soak.sh [--seconds N] [--warmup N] [--sample N]' \
        'bash scripts/test.sh --quick' \
        'LQ_DEMO_PAZE=1000 bash scripts/demo.sh' \
        'bash scripts/bench-windows.sh --run 3' \
        'bash tests/e2e/run.sh --all' \
        'pkr-standin.exe --main M' \
        'pkr-standin.exe --zones white --colour dark' \
        'wine build/windows/tools/pkr-sim/pkr-sim --out x' \
        'wine build/windows/app/pkr-standin.exe' \
        'WINEPREFIX=$PWD/build/wine wine' \
        'cd build/windows/tools && wine Lanternquill.exe' \
        'cd build/windows/app && wine Lanternquill.exe /nosuchswitch' \
        'wine build/windows/tools/pkr-standin/pkr-standin.exe --activ' \
        'lanternquill stats [--cache FILE] [--min N]' \
        "ctest --preset linux -R 'NoSuchTestAnywhere'" \
        "build/linux/tests/lanternquill_tests --gtest_filter='NoSuchSuite.*'"
    expect_doc_verdicts "$build" GOOD \
        'bash scripts/soak.sh [--seconds N] [--warmup N]' \
        'bash scripts/bench-windows.sh [--runs N] [--players N] [--keep]' \
        'bash scripts/demo.sh --headless' \
        'bash scripts/test.sh' \
        'LQ_TEST_TIMEOUT=600 LQ_E2E_TIMEOUT=300 bash scripts/test.sh' \
        'pkr-standin.exe [--zones white,dark,grey,dark] [--main-width M | --zone L,T,R,B]' \
        'pkr-standin.exe --activate | --quit' \
        'WINEPREFIX=$PWD/build/wine wine build/windows/tools/pkr-standin/pkr-standin.exe --quit &' \
        'cd build/windows/app && WINEPREFIX=$PWD/../../wine wine Lanternquill.exe' \
        "ctest --preset linux -R 'DisplayWidth'" \
        "build/linux/tests/lanternquill_tests --gtest_filter='CliTest.*'"
    # Without a built benchmark its options are read from its usage text, not from its sources
    # (where the simulator's --out stands among the arguments it passes on).
    local without_bench
    without_bench=$(make_build_without_bench)
    expect_doc_verdicts "$without_bench" BAD 'build/linux/tools/bench/lq-bench --out DIR'
    expect_doc_verdicts "$without_bench" GOOD \
        'build/linux/tools/bench/lq-bench --refresh [--refresh-hands N]... [--ticks N]'
}

# --- soak verdict ------------------------------------------------------------------------------

# shellcheck source=tests/e2e/soak-lib.sh
source "$repo_root/tests/e2e/soak-lib.sh"

# soak_samples T...: sample lines at those seconds with the same figures ("t ticks gdi windows
# guires_gdi guires_user ws_kb rss_kb data_kb files_kb").
soak_samples() {
    local t
    for t in "$@"; do
        echo "$t $((t * 6)) 120 14 0 0 40000 90000 120000 800"
    done
}

test_soak() {
    soak_samples 0 >"$work/one.txt"
    soak_samples 0 5 10 15 20 >"$work/short.txt"
    soak_samples 0 5 10 15 20 25 30 35 >"$work/steady.txt"
    { soak_samples 0 5 10 15 20 && echo "25 150 170 14 0 0 40000 90000 120000 800"; } \
        >"$work/leaking.txt"
    # A soak of 0 s: its one sample is its own baseline.
    soak_check "$work/one.txt" 0 >/dev/null && fail "soak_check passes one sample"
    # A warm-up as long as the run.
    soak_check "$work/short.txt" 20 >/dev/null && fail "soak_check passes one sample after the warm-up"
    soak_check "$work/short.txt" 15 >/dev/null && fail "soak_check passes two samples after the warm-up"
    soak_check "$work/steady.txt" 25 >/dev/null || fail "soak_check rejects a steady soak"
    soak_check "$work/leaking.txt" 10 >/dev/null && fail "soak_check passes 50 GDI handles more"
    [[ -n $(soak_too_short 0 0) && -n $(soak_too_short 60 60) && -n $(soak_too_short 69 60) ]] ||
        fail "soak_too_short lets a soak through with too few samples after its warm-up"
    [[ -z $(soak_too_short 70 60) && -z $(soak_too_short 35 10) ]] ||
        fail "soak_too_short refuses a soak long enough (or the end-to-end test's)"
    local status output arguments
    for arguments in "--seconds 0" "--seconds 60 --warmup 60" "--seconds 5 --warmup 0"; do
        status=0
        # shellcheck disable=SC2086  # the arguments, split
        output=$(bash "$repo_root/scripts/soak.sh" $arguments 2>&1) || status=$?
        [[ $status -eq 2 && $output == *"too few samples"* ]] ||
            fail "soak.sh $arguments: status $status, $output (a usage error expected)"
    done
}

test_layers
test_doc_commands
test_soak
if [[ $failures -gt 0 ]]; then
    echo "checks_test: $failures failed" >&2
    exit 1
fi
echo "checks_test: all passed"
