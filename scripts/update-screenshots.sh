#!/usr/bin/env bash
# Refreshes docs/screenshots from the last end-to-end run (build/e2e-screens): each dialog the
# README shows, cut out of the virtual screen by trimming the plain desktop around it, and the
# whole screen at half size where the HUD and the stand-in PKR client are to be seen.
#
# Usage: scripts/update-screenshots.sh   (no arguments)
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

screens="$repo_root/build/e2e-screens"
docs="$repo_root/docs/screenshots"
mkdir -p "$docs"

# The screenshot of each test that shows a window best, the name it has in the docs, and how it
# is cut: trim (a dialog on the plain desktop), half (the whole screen) or a geometry WxH+X+Y
# (the main window, centred on the screen, with the table's overlays around it).
shots=(
    "options_show_the_defaults_to_a_fresh_user-1-defaults.png:options.png:trim"
    "info_panel_shows_the_counts_of_the_cache_file-2-counts-240.png:information-panel.png:trim"
    "main_first_start_imports_history_and_the_next_start_reads_the_cache-3-tables-listed.png:main-window.png:177x181+871+449"
    "main_first_start_writes_the_hot_zone_and_the_dialog_stores_its_window-1-hot-zone-dialog.png:hot-zone.png:half"
    "hud_shows_each_seated_player_at_the_layout_position_with_his_statistics-1-table-hud.png:table-hud.png:half"
    "hud_hover_keys_drag_and_foreground_while_the_table_is_played-1-hover.png:table-hud-hover.png:half"
    "hud_hover_keys_drag_and_foreground_while_the_table_is_played-2-alt-names.png:table-hud-alt-names.png:half"
    "switching_follows_the_mini_table_views_only_while_pkr_or_we_are_in_front-1-zone-2-white.png:auto-switch.png:half"
)
for shot in "${shots[@]}"; do
    IFS=: read -r name target cut <<<"$shot"
    source_file="$screens/$name"
    if [[ ! -f $source_file ]]; then
        echo "missing $source_file: run tests/e2e/run.sh first" >&2
        exit 1
    fi
    case $cut in
        trim) /usr/bin/convert "$source_file" -trim +repage "$docs/$target" ;;
        half) /usr/bin/convert "$source_file" -resize 50% "$docs/$target" ;;
        *) /usr/bin/convert "$source_file" -crop "$cut" +repage "$docs/$target" ;;
    esac
done
ls -l "$docs"
