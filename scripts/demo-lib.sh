# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # names for demo.sh; repo_root from common.sh
# Helpers of the live demo (sourced by scripts/demo.sh): look into the running programs' windows
# with win-probe, wait for what a user waits for, and take screenshots of the virtual display.
# Every wait polls with a deadline and ends the demo with a clear message when it runs out.

windows_build="$repo_root/build/windows"
app_exe="$windows_build/app/Lanternquill.exe"
probe_exe="$windows_build/tools/win-probe/win-probe.exe"
standin_exe="$windows_build/tools/pkr-standin/pkr-standin.exe"
sim_exe="$windows_build/tools/pkr-sim/pkr-sim.exe"

main_caption="V1.16"
importer_caption="Lanternquill History Importer"
panel_caption="Information Panel"

# Control ids from resources/resource.h.
idc_tables=$(awk '$2 == "IDC_TABLES" {print $3}' "$repo_root/resources/resource.h")
idc_autoswitch=$(awk '$2 == "IDC_AUTOSWITCH" {print $3}' "$repo_root/resources/resource.h")
idok=1

# Seconds to wait for a window or a state (a cold Wine desktop takes a few).
demo_wait_seconds=${LQ_DEMO_WAIT_SECONDS:-60}
# Set by demo.sh: the folder of the screenshots and logs, and whether there are any.
demo_dir=${demo_dir:-"$repo_root/build/demo"}
demo_screenshots=${demo_screenshots:-0}
shot_count=0

demo_fail() {
    echo "demo: $*" >&2
    if [[ $demo_screenshots -eq 1 ]]; then
        /usr/bin/import -window root "$demo_dir/failure.png" 2>/dev/null &&
            echo "demo: the screen at that moment: $demo_dir/failure.png" >&2
    fi
    echo "demo: logs in $demo_dir/work and $log_dir" >&2
    exit 1
}

probe() {
    wine "$probe_exe" "$@" </dev/null 2>/dev/null
}

# shot NAME [CROP]: the whole virtual screen (or the WxH+X+Y part of it) as NAME.png, numbered
# in the order taken.
shot() {
    [[ $demo_screenshots -eq 1 ]] || return 0
    shot_count=$((shot_count + 1))
    local file
    file="$demo_dir/$(printf '%d' "$shot_count")-$1.png"
    if [[ -n ${2:-} ]]; then
        /usr/bin/import -window root -crop "$2" +repage "$file"
    else
        /usr/bin/import -window root "$file"
    fi
    echo "   screenshot $file"
}

# wait_window CAPTION: waits until a window with CAPTION is shown and in front.
wait_window() {
    probe wait-active "$1" $((demo_wait_seconds * 1000)) >/dev/null ||
        demo_fail "no window \"$1\" after ${demo_wait_seconds}s"
}

# dismiss CAPTION ID: presses the dialog's button as a click would and waits until it is gone.
dismiss() {
    probe press "$1" "$2" >/dev/null || demo_fail "cannot press button $2 of \"$1\""
    probe gone "$1" $((demo_wait_seconds * 1000)) >/dev/null || demo_fail "\"$1\" stayed open"
}

# The table list's lines (the selected one starts with "> ").
list_lines() {
    probe list "$main_caption" "$idc_tables"
}

# wait_until DESCRIPTION COMMAND...: polls COMMAND until it succeeds.
wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + demo_wait_seconds))
    until "$@"; do
        ((SECONDS < deadline)) || demo_fail "waited ${demo_wait_seconds}s for $what"
        sleep 0.25
    done
}

list_has_lines() {
    [[ $(list_lines | grep -c '') -eq $1 ]]
}

line_selected() {
    [[ $(list_lines | sed -n "$(($1 + 1))p") == "> "* ]]
}

auto_switch_ticked() {
    probe controls "$main_caption" | awk -F'\t' -v id="$idc_autoswitch" '$1 == id {f = $3 == 1}
        END {exit !f}'
}

# The shown overlays of the main window: "x y text" per line (overlays are 122 x 39 windows
# whose text is what they show, lines joined by \n).
visible_overlays() {
    probe owned "$main_caption" | awk -F'\t' '$2 == 1 && $6 == 122 && $7 == 39 {print $4, $5, $9}'
}

overlays_shown() {
    [[ $(visible_overlays | grep -c '') -ge 2 ]]
}

# overlays_differ_from TEXT: the overlays show something else than TEXT (another table's players).
overlays_differ_from() {
    local now
    now=$(visible_overlays)
    [[ -n $now && $now != "$1" ]]
}

overlay_shows() {
    visible_overlays | grep -qF "$1"
}

# set_view ZONE COLOUR: recolours one of the stand-in client's mini-table views.
set_view() {
    wine "$standin_exe" --set "$1" "$2" </dev/null >/dev/null 2>&1 ||
        demo_fail "stand-in --set $1 $2"
}

file_has_text() {
    grep -qF "$2" "$1" 2>/dev/null
}

# wait_for_file_text FILE TEXT
wait_for_file_text() {
    wait_until "\"$2\" in $1" file_has_text "$1" "$2"
}

# holds_within SECONDS COMMAND...: polls COMMAND for up to SECONDS; true when it succeeded.
holds_within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.25
    done
}

# show_table ZONE COMMAND...: lights mini-table view ZONE (0 or 1; the other one goes dark) until
# its line is selected and COMMAND holds. A table whose last hand is half written at the moment
# of the switch (its seat list comes at the hand's end) gets no HUD, and only the next switch
# tries again: so the views are lit once more in turn, as a user would look at the other table
# and back. False after five tries.
show_table() {
    local zone=$1 other=$((1 - $1))
    shift
    local try
    for ((try = 0; try < 5; try++)); do
        set_view "$other" dark
        set_view "$zone" white
        wait_until "line $((zone + 1)) selected" line_selected "$zone"
        if holds_within 2 "$@"; then
            return 0
        fi
        echo "   no HUD yet on line $((zone + 1)) (file being written?): lighting the views again"
        set_view "$zone" dark
        set_view "$other" white
        wait_until "line $((other + 1)) selected" line_selected "$other"
    done
    return 1
}
