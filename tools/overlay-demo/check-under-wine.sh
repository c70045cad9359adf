#!/bin/bash
# Shows the demo overlays over the stand-in PKR client under Wine and checks what a user would:
# the panel is painted, hovering switches the text and falls back 175 ms after the last movement,
# a drag keeps the grabbed point under the cursor and reports the move, clicks (left and right)
# leave the poker client active, and with --transparent the black corners are see-through.
# Screenshots go to build/overlay-demo/. Needs the windows preset built. Exit status 0 when all
# checks passed.
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=scripts/wine-env.sh
source "$repo/scripts/wine-env.sh"
win=$repo/build/windows
standin=$win/tools/pkr-standin/pkr-standin.exe
demo=$win/tools/overlay-demo/overlay-demo.exe
out=$repo/build/overlay-demo
rm -rf "$out"
mkdir -p "$out"
failures=0

shot() { /usr/bin/import -window root "$out/$1.png" 2>/dev/null; }
pixel() { /usr/bin/convert "$out/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
check() {  # DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
# The programs' output without the CR of their CR LF line ends.
lines() { tr -d '\r' <"$1" 2>/dev/null; }
# wait_line FILE PATTERN: waits up to 10 s for a whole line of a program's output.
wait_line() {
    local end=$((SECONDS + 10))
    until lines "$1" | grep -qx -- "$2"; do
        ((SECONDS < end)) || return 1
        sleep 0.05
    done
}
equals() { [[ $1 == "$2" ]]; }
start_both() {  # LOG DEMO-ARGS...
    wine "$standin" </dev/null >"$out/standin-$1.log" 2>&1 &
    wait_line "$out/standin-$1.log" "pkr-standin: zone 3 .*" || true
    wine "$demo" "${@:2}" </dev/null >"$out/$1.log" 2>&1 &
    wait_line "$out/$1.log" "overlay 3 .*"
    wine "$standin" --activate </dev/null
    sleep 1
}
stop_both() {
    wine "$standin" --quit </dev/null
    wineserver -k
    sleep 1
}

# Ordinary overlays at (120,150), (300,150), (120,270), (300,270), each 122 x 39.
start_both plain --at 120,150
log=$out/plain.log
shot 1-normal
check "panel painted, black corner" equals "$(pixel 1-normal 125 155)/$(pixel 1-normal 120 150)" \
    "srgb(11,9,33)/srgb(0,0,0)"
xdotool mousemove 170 165 && sleep 0.05 && xdotool mousemove 172 166
check "hover shows the hover text" wait_line "$log" "state 0 1"
shot 2-hover
# Leaving as a real mouse does: a last movement at the edge, then outside.
xdotool mousemove 240 166 && xdotool mousemove 900 700
check "hover ends after leaving" wait_line "$log" "state 0 0"
xdotool mousemove 350 175 && sleep 0.05 && xdotool mousemove 351 175 && sleep 0.8
check "resting over it keeps the hover text" equals "$(lines "$log" | grep -c '^state 1')" 1
xdotool mousemove 420 175 && xdotool mousemove 900 700
check "and it ends once the cursor has left" wait_line "$log" "state 1 0"
# Grab overlay 0 at client point (10, 12) and drop it with the cursor at (300, 400).
xdotool mousemove 130 162 mousedown 1
for p in 150,180 200,250 260,330 300,400; do xdotool mousemove "${p%,*}" "${p#*,}"; sleep 0.05; done
shot 3-dragging
xdotool mouseup 1
check "drag keeps the grabbed point under the cursor" wait_line "$log" "moved 0 290 388"
xdotool mousemove 350 170 click 3
sleep 0.5
xdotool mousemove 900 700
sleep 0.3
shot 4-after-right-click
check "the poker client stayed active throughout" equals "$(lines "$log" | grep '^foreground')" \
    "foreground PKR"
stop_both

# Layered overlays with the colour key, showing the stat names.
start_both transparent --at 120,150 --transparent --state 2
log=$out/transparent.log
shot 5-transparent-names
check "corners see-through, panel opaque" \
    equals "$(pixel 5-transparent-names 120 150)/$(pixel 5-transparent-names 125 155)" \
    "srgb(20,90,40)/srgb(11,9,33)"
xdotool mousemove 310 170 mousedown 1
for p in 330,200 400,300 500,500; do xdotool mousemove "${p%,*}" "${p#*,}"; sleep 0.05; done
xdotool mouseup 1
check "a layered overlay drags too" wait_line "$log" "moved 1 490 480"
check "the poker client stayed active" equals "$(lines "$log" | grep '^foreground')" "foreground PKR"
stop_both

echo "screenshots in $out; $failures check(s) failed"
((failures == 0))
