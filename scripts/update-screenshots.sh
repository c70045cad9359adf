#!/usr/bin/env bash
# Refreshes docs/screenshots from the last end-to-end run (build/e2e-screens): each dialog the
# README shows, cut out of the virtual screen by trimming the plain desktop around it.
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

screens="$repo_root/build/e2e-screens"
docs="$repo_root/docs/screenshots"
mkdir -p "$docs"

# The screenshot of each test that shows a dialog best, and the name it has in the docs.
pairs=(
    "options_show_the_defaults_to_a_fresh_user-1-defaults.png:options.png"
    "info_panel_shows_the_counts_of_the_cache_file-2-counts-240.png:information-panel.png"
)
for pair in "${pairs[@]}"; do
    source_file="$screens/${pair%%:*}"
    if [[ ! -f $source_file ]]; then
        echo "missing $source_file: run tests/e2e/run.sh first" >&2
        exit 1
    fi
    /usr/bin/convert "$source_file" -trim +repage "$docs/${pair#*:}"
done
ls -l "$docs"
