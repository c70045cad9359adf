#!/usr/bin/env bash
# The live demo: the program doing its main job. The stand-in PKR client runs under Wine with
# two tables being played live by the simulator (pkr-sim.exe writing hand history into the PKR
# install folder that the client's registry entry names), and Lanternquill.exe imports the hands
# and shows its HUD over the selected table, the automatic switching following the mini-table
# view that lights up.
#
# With a reachable display ($DISPLAY) everything runs there in one Wine desktop window until
# Lanternquill's main window is closed or Ctrl+C is pressed. Without one it runs on a virtual
# display, goes through the first start as a user would, writes screenshots of what a user would
# see to build/demo/ and stops.
#
# Installs the packages it needs (as root, or with sudo) and builds only the Windows programs it
# runs (preset windows). A fresh Wine prefix for the demo alone lives in build/wine-demo.
#
# Usage: scripts/demo.sh [--headless | --cli | --help]
#   --headless  a virtual display and screenshots even when $DISPLAY is set
#   --cli       the command-line demo instead (scripts/demo-cli.sh)
# Environment: LQ_DEMO_PACE (milliseconds between two hands; 500 headless, 1500 on a display),
#   LQ_DEMO_SEED (default 2024), LQ_DEMO_SECONDS (on a display: stop after this many seconds;
#   default 0, until closed), LQ_DEMO_DESKTOP (WxH of the Wine desktop on a display; default the
#   largest screen size the default layouts know that fits), LQ_WINE_DIR (default build/wine-demo).
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo_root"

usage() {
    sed -n '/^# Usage:/,/^# Environment:/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'
}

headless=0
case ${1:-} in
    --cli) exec bash "$repo_root/scripts/demo-cli.sh" ;;
    --headless) headless=1 ;;
    --help | -h)
        usage
        exit 0
        ;;
    "") ;;
    *)
        usage >&2
        exit 2
        ;;
esac

demo_dir="$repo_root/build/demo"
work_dir="$demo_dir/work"
seed=${LQ_DEMO_SEED:-2024}
export LQ_WINE_DIR=${LQ_WINE_DIR:-$repo_root/build/wine-demo}
# The history folder of a default PKR install, inside the demo's Wine prefix.
pkr_install='C:\Program Files\PKR'

# The Wine helpers without starting anything yet: the prefix is made while the build runs.
LQ_WINE_ENV_ACTIVE=1
# shellcheck source=scripts/wine-env.sh
source "$repo_root/scripts/wine-env.sh"
unset LQ_WINE_ENV_ACTIVE
# shellcheck source=scripts/demo-lib.sh
source "$repo_root/scripts/demo-lib.sh"
history_dir="$WINEPREFIX/drive_c/Program Files/PKR/handhistory"

trap 'exit 130' INT TERM
track_phases

begin_phase setup
bash "$repo_root/scripts/setup.sh" build windows

# A display the user sees, if there is one that answers.
if [[ $headless -eq 0 && -n ${DISPLAY:-} ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    demo_screenshots=0
else
    headless=1
    demo_screenshots=1
fi

begin_phase "build (preset windows) and Wine prefix"
mkdir -p "$wine_dir" "$log_dir"
(wine_make_prefix) &
prefix_pid=$!
build_preset windows --target Lanternquill pkr-standin pkr-sim win-probe
wait "$prefix_pid" || {
    echo "demo: making the Wine prefix failed; see $log_dir/wineboot.log" >&2
    exit 1
}
for exe in "$app_exe" "$probe_exe" "$standin_exe" "$sim_exe"; do
    require_executable "$exe"
done

# The Wine desktop's size: the virtual screen's, or on a real display the largest size the
# default layouts know that fits on it.
desktop_size() {
    if [[ $headless -eq 1 ]]; then
        echo 1920x1080
        return
    fi
    if [[ -n ${LQ_DEMO_DESKTOP:-} ]]; then
        echo "$LQ_DEMO_DESKTOP"
        return
    fi
    local screen_w screen_h size
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    for size in 1920x1200 1920x1080 1680x1050 1280x1024 1280x768; do
        if ((${size%x*} <= screen_w && ${size#*x} <= screen_h)); then
            echo "$size"
            return
        fi
    done
    echo 1024x768
}

begin_phase "start Wine"
desktop=$(desktop_size)
screen_w=${desktop%x*}
screen_h=${desktop#*x}
if ! grep -qF "\"Default\"=\"$desktop\"" "$WINEPREFIX/user.reg"; then
    DISPLAY='' wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f \
        </dev/null >/dev/null 2>&1
fi
if [[ $headless -eq 1 ]]; then
    wine_env_start
else
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p
fi
export LQ_WINE_ENV_ACTIVE=1
on_exit wine_env_stop
if [[ $headless -eq 1 ]]; then
    # The pointer away from the table, where it would show an overlay's hover view.
    xdotool mousemove 5 $((screen_h - 5))
fi

# A first start: no settings, no cache, the PKR client's registry entry naming its install
# folder, and the main window (177 pixels wide) placed in the column of the mini-table views,
# below them: the client's table window takes the rest of the screen, as the default overlay
# layouts assume.
rm -rf "$demo_dir" "$history_dir"
mkdir -p "$work_dir" "$history_dir"
cp "$windows_build/app/RestoreOverlayPositions.reg" "$work_dir/"
printf '%s\r\n' 'REGEDIT4' '' \
    '[-HKEY_CURRENT_USER\Software\Quillworks\Lanternquill]' \
    '[-HKEY_CURRENT_USER\Software\PKR]' '' \
    '[HKEY_CURRENT_USER\Software\PKR]' \
    "\"InstallDirectory\"=\"${pkr_install//\\/\\\\}\"" '' \
    '[HKEY_CURRENT_USER\Software\Quillworks\Lanternquill\MainWindow]' \
    "\"PosX\"=dword:$(printf '%08x' $((screen_w - 177)))" \
    "\"PosY\"=dword:$(printf '%08x' $((screen_h - 220)))" '' >"$work_dir/demo.reg"
(cd "$work_dir" && wine regedit /S demo.reg </dev/null >/dev/null 2>&1) ||
    demo_fail "cannot write the demo's registry settings"

begin_phase "play two tables"
pace=${LQ_DEMO_PACE:-$([[ $headless -eq 1 ]] && echo 500 || echo 1500)}
(cd "$work_dir" && exec wine "$sim_exe" --out "$pkr_install\\handhistory" --live --pace "$pace" \
    --tables 2 --game holdem --stake 25NL --seats 6-6 --players 16 --seed "$seed" \
    --hands 1000000 </dev/null >sim.log 2>&1) &
echo "   pkr-sim.exe plays 2 tables, a hand every $pace ms, into $pkr_install\\handhistory"
table_files() {
    find "$history_dir" -name '*.txt' -size +0 | grep -c ''
}
two_tables_written() {
    [[ $(table_files) -ge 2 ]]
}
wait_until "the simulator's first hands" two_tables_written

(cd "$work_dir" && exec wine "$app_exe" </dev/null >app.log 2>&1) &
app_pid=$!
echo "   Lanternquill.exe started in $work_dir"

# The first start without a cache says how much history it is about to read; the import ends
# with the information panel.
wait_window "$importer_caption"
shot first-run-message
[[ $headless -eq 1 ]] || sleep 3
dismiss "$importer_caption" "$idok"
wait_window "$panel_caption"
shot information-panel
[[ $headless -eq 1 ]] || sleep 3
probe close "$panel_caption" >/dev/null
probe gone "$panel_caption" $((demo_wait_seconds * 1000)) >/dev/null ||
    demo_fail "the information panel stayed open"
wait_window "$main_caption"
read -r main_x main_y main_w main_h < <(probe wait "$main_caption" 0) ||
    demo_fail "no main window"

# The PKR client with its four mini-table views beside the main window's width, all dark.
(cd "$work_dir" && exec wine "$standin_exe" --main-width "$main_w" --zones dark,dark,dark,dark \
    </dev/null >standin.log 2>&1) &
wait_for_file_text "$work_dir/standin.log" "pkr-standin: ready"
echo "   the stand-in PKR client shows its table and four mini-table views"

wait_until "both tables in the list" list_has_lines 2
probe press "$main_caption" "$idc_autoswitch" >/dev/null
wait_until "Auto Switch ticked" auto_switch_ticked
echo "   Auto Switch ticked; lighting mini-table view 0 selects the first table"
show_table 0 overlays_shown || demo_fail "the first table's overlays never showed"
sleep 0.5
shot main-window "${main_w}x${main_h}+${main_x}+${main_y}"
shot table-hud
first_table=$(visible_overlays)

echo "   lighting mini-table view 1 instead: the HUD follows to the second table"
show_table 1 overlays_differ_from "$first_table" ||
    demo_fail "the second table's overlays never showed"
sleep 0.5
shot second-table

if [[ $headless -eq 1 ]]; then
    begin_phase "hover and ALT"
    read -r hero_x hero_y _ < <(visible_overlays | grep -F 'Hero (' | head -1) ||
        demo_fail "no overlay for Hero"
    xdotool mousemove $((hero_x + 60)) $((hero_y + 20))
    sleep 0.3
    xdotool mousemove $((hero_x + 61)) $((hero_y + 21))
    wait_until "the hover view" overlay_shows "F: "
    shot hover
    # The hover view ends shortly after the last movement over the overlay once the pointer has
    # left it (a pointer resting on it keeps it); then ALT shows every overlay's names.
    xdotool mousemove $((hero_x + 62)) $((hero_y + 22)) mousemove 5 $((screen_h - 5))
    for ((tries = 0; tries < 30; tries++)); do
        overlay_shows "F: " || break
        sleep 0.1
    done
    xdotool keydown alt
    wait_until "the statistics' names" overlay_shows "(hands)"
    shot alt-names
    xdotool keyup alt
else
    begin_phase "running on $DISPLAY"
    echo
    echo "   Lanternquill runs on $DISPLAY in the Wine desktop window ($desktop). Every 15 seconds"
    echo "   the other mini-table view lights up and the HUD follows (while Auto Switch is"
    echo "   ticked). Close Lanternquill's main window or press Ctrl+C to stop."
    demo_seconds=${LQ_DEMO_SECONDS:-0}
    # Ctrl+C from here on is the way to stop: the program is closed as a user would close it.
    stop_requested=0
    trap 'stop_requested=1' INT TERM
    lit=1
    started=$SECONDS
    next_switch=$((SECONDS + 15))
    while [[ $stop_requested -eq 0 ]] && kill -0 "$app_pid" 2>/dev/null; do
        # Ctrl+C reaches the commands in the foreground too: their failure is no error here.
        sleep 1 || true
        if ((demo_seconds > 0 && SECONDS - started >= demo_seconds)); then
            break
        fi
        # Only the views change here: the user may untick Auto Switch or move the lines. A table
        # whose last hand was half written at the switch gets its HUD at the next one.
        if ((stop_requested == 0 && SECONDS >= next_switch)); then
            wine "$standin_exe" --set "$lit" dark </dev/null >/dev/null 2>&1 || true
            lit=$((1 - lit))
            wine "$standin_exe" --set "$lit" white </dev/null >/dev/null 2>&1 || true
            next_switch=$((SECONDS + 15))
        fi
    done
    trap 'exit 130' INT TERM
fi

begin_phase stop
if kill -0 "$app_pid" 2>/dev/null; then
    # Closed as its close box does: the program writes its cache file and position.
    probe close "$main_caption" >/dev/null || true
    deadline=$((SECONDS + demo_wait_seconds))
    while kill -0 "$app_pid" 2>/dev/null && ((SECONDS < deadline)); do
        sleep 0.2
    done
fi
wine "$standin_exe" --quit </dev/null >/dev/null 2>&1 || true
hands=$(cat "$history_dir"/*/*/*.txt 2>/dev/null | grep -c '^Starting Hand' || true)
echo "   $hands hands played; Lanternquill's cache file:" \
    "$(du -h "$work_dir/LanternquillCache_Trial.dat" 2>/dev/null | cut -f1 || echo none)"
if [[ $demo_screenshots -eq 1 ]]; then
    echo "   screenshots of what a user saw, in $demo_dir:"
    for file in "$demo_dir"/*.png; do
        echo "     $(basename "$file")"
    done
fi
