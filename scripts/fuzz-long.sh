#!/usr/bin/env bash
# Runs every fuzz target for a long time, each for LQ_FUZZ_SECONDS (default 1200): the parser's
# on one core, the cache loader's and then the seat reader's on the other, so the whole run takes
# twice that. Builds what it needs first (the linux build's seed makers, the linux-fuzz targets)
# and keeps the corpora that scripts/test.sh grows, in build/linux-fuzz/corpus; crashing inputs go
# to build/linux-fuzz/artifacts and each target's log to build/logs.
#
# Usage: scripts/fuzz-long.sh   (no arguments; LQ_FUZZ_SECONDS sets the time)
set -euo pipefail
# shellcheck source=scripts/fuzz-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/fuzz-lib.sh"
cd "$repo_root"

seconds=${LQ_FUZZ_SECONDS:-1200}

track_phases

begin_phase "build linux (seed makers)"
build_preset linux --target pkr-sim lanternquill

begin_phase "build linux-fuzz"
build_preset linux-fuzz --target "${fuzz_targets[@]}"

begin_phase "fuzz (${seconds}s per target)"
make_fuzz_seeds
run_fuzzers "$seconds" "$seconds" "$seconds"
