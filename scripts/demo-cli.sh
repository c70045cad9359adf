#!/usr/bin/env bash
# The command-line demonstration (`scripts/demo.sh --cli`): builds the command-line tools, lets
# the simulator write a hand history corpus, imports it into a cache file and prints the
# statistics table. Every run starts from a fresh corpus and cache under build/demo-cli.
#
# Usage: scripts/demo-cli.sh   (no arguments)
# Environment: LQ_DEMO_TABLES (default 6), LQ_DEMO_HANDS over all tables (default 3000),
# LQ_DEMO_SEED (default 2024; the same seed writes the same corpus).
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo_root"

tables=${LQ_DEMO_TABLES:-6}
hands=${LQ_DEMO_HANDS:-3000}
seed=${LQ_DEMO_SEED:-2024}
demo_dir="$repo_root/build/demo-cli"
cache="$demo_dir/LanternquillCache_Trial.dat"

echo "== setup"
bash "$repo_root/scripts/setup.sh" build

echo "== build (preset linux)"
build_preset linux --target pkr-sim lanternquill
require_executable "$sim_path"
require_executable "$cli_path"

echo "== simulate $hands hands at $tables tables (seed $seed)"
rm -rf "$demo_dir"
mkdir -p "$demo_dir"
"$sim_path" --out "$demo_dir/handhistory" --seed "$seed" --tables "$tables" --hands "$hands"

echo "== import"
"$cli_path" import --cache "$cache" "$demo_dir/handhistory"

echo "== statistics (players with at least 20 hands)"
"$cli_path" stats --cache "$cache" --min-hands 20
