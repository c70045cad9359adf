#!/usr/bin/env bash
# Import speed of the Windows build under Wine beside the native build, measured in one run on two
# corpus shapes written by pkr-sim: few large files (1,000,000 hands in 200 files) and many small
# ones (200,000 hands in 3,500 files). Beside them the floor: a Windows program that only lists the
# same folders and reads every file (list-read-floor), which shows what Wine itself costs per
# directory listing and file open. Prints hands/s for each and the ratios Windows/native and
# Windows/floor. Run by hand; not a test.
#
# Usage: scripts/bench-windows.sh [--runs N] [--players N] [--keep]
#
# --runs: each figure is the best of N runs (default 3), the three programs taking turns.
# --players: the simulator's opponent pool (default 2000; the cache file written at the end of an
# import grows with the players, about 10 kB each). --keep: keep the corpora in build/bench-windows
# for the next run (they are remade when their options change).
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

runs=3
players=2000
keep=0
while (($# > 0)); do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --players) players=$2; shift 2 ;;
        --keep) keep=1; shift ;;
        *) echo "usage: bench-windows.sh [--runs N] [--players N] [--keep]" >&2; exit 2 ;;
    esac
done

echo "Building (linux: lanternquill, pkr-sim; windows: lanternquill.exe, list-read-floor.exe)"
build_preset linux --target lanternquill pkr-sim
build_preset windows --target lanternquill list-read-floor
native_cli=$cli_path
windows_cli=$repo_root/build/windows/tools/lanternquill/lanternquill.exe
floor_exe=$repo_root/build/windows/tools/bench/list-read-floor/list-read-floor.exe
for program in "$native_cli" "$sim_path" "$windows_cli" "$floor_exe"; do
    require_executable "$program"
done

work=$repo_root/build/bench-windows
mkdir -p "$work"
remove_corpora() { rm -rf "$work"; }
if ((keep == 0)); then
    on_exit remove_corpora
fi

# name hands tables seed: writes the corpus unless the same one is there already.
make_corpus() {
    local dir=$work/$1 stamp="$2 $3 $4 $players"
    if [[ -f $dir.stamp && $(<"$dir.stamp") == "$stamp" ]]; then
        return 0
    fi
    rm -rf "$dir" "$dir.stamp"
    echo "Writing corpus $1: $2 hands in $3 files"
    "$sim_path" --out "$dir" --hands "$2" --tables "$3" --seed "$4" --players "$players" \
        >/dev/null
    rm -f "$dir/expected-counters.tsv"
    echo "$stamp" >"$dir.stamp"
}
make_corpus large 1000000 200 1
make_corpus small 200000 3500 2

# shellcheck source=scripts/wine-env.sh
source "$repo_root/scripts/wine-env.sh"

# Seconds an import took, from its closing line "... in S s (R hands/s)".
import_seconds() {
    sed -n 's/^Imported .* in \([0-9.]*\) s (.*/\1/p'
}

best() { # the smallest of the numbers on stdin
    sort -g | head -n 1
}

# corpus run: one run of each program, as seconds appended to the corpus's lists.
declare -A seconds_of
run_once() {
    local corpus=$1 dir=$work/$1 cache=$work/cache.dat
    rm -f "$cache"
    seconds_of[$corpus.native]+="$("$native_cli" import --cache "$cache" "$dir" 2>/dev/null |
        import_seconds) "
    rm -f "$cache"
    seconds_of[$corpus.windows]+="$(wine "$windows_cli" import --cache "Z:$cache" "Z:$dir" \
        2>/dev/null | tr -d '\r' | import_seconds) "
    rm -f "$cache"
    seconds_of[$corpus.floor]+="$(wine "$floor_exe" "Z:$dir" 2>/dev/null | tr -d '\r' |
        sed -n 's/^Read .* in \([0-9.]*\) s .*/\1/p') "
}

for ((run = 1; run <= runs; run++)); do
    echo "Run $run of $runs"
    run_once large
    run_once small
done

hands_of() { case $1 in large) echo 1000000 ;; small) echo 200000 ;; esac; }
files_of() { case $1 in large) echo 200 ;; small) echo 3500 ;; esac; }

echo
echo "Import, best of $runs runs (the import's time includes saving the cache file)"
printf '%-8s %6s %8s %12s %12s %12s %9s %9s\n' corpus files hands "native h/s" "windows h/s" \
    "floor h/s" "win/nat" "win/floor"
for corpus in large small; do
    hands=$(hands_of "$corpus")
    native=$(tr ' ' '\n' <<<"${seconds_of[$corpus.native]}" | grep . | best)
    windows=$(tr ' ' '\n' <<<"${seconds_of[$corpus.windows]}" | grep . | best)
    floor=$(tr ' ' '\n' <<<"${seconds_of[$corpus.floor]}" | grep . | best)
    awk -v c="$corpus" -v f="$(files_of "$corpus")" -v h="$hands" -v n="$native" -v w="$windows" \
        -v fl="$floor" 'BEGIN {
            printf "%-8s %6d %8d %12.0f %12.0f %12.0f %9.2f %9.2f\n", c, f, h, h / n, h / w,
                h / fl, w / n, w / fl }'
done
echo "(win/nat and win/floor: the Windows import's time over the native one's and the floor's)"
