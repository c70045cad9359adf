# shellcheck shell=bash
# Sourced, not run: makes the Windows build runnable here. After `source scripts/wine-env.sh`
# the shell has a private Wine prefix under build/wine (made on first use), a virtual X display
# of 1920x1080 on a free display number, and a persistent wineserver whose Wine desktop all Windows
# programs share. Everything started is stopped when the sourcing script exits (or by
# wine_env_stop).
#
# Environment: LQ_WINE_DIR (default build/wine) holds the prefix and the display's log.

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

wine_dir=${LQ_WINE_DIR:-$repo_root/build/wine}
export WINEPREFIX="$wine_dir/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or Gecko: the programs need neither, and Wine would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Every Windows program starts through wine-run.sh (which says why): under the name `wine`, first
# on PATH for this shell and every script and program it starts.
mkdir -p "$wine_dir/bin"
ln -sfn "$repo_root/scripts/wine-run.sh" "$wine_dir/bin/wine"
if [[ :$PATH: != *":$wine_dir/bin:"* ]]; then
    export PATH="$wine_dir/bin:$PATH"
fi

wine_xvfb_pid=""

# The prefix is made once and kept; a stamp marks a finished one, so an interrupted setup is
# redone from scratch.
wine_make_prefix() {
    local stamp="$WINEPREFIX/.lanternquill-ready"
    if [[ -f $stamp ]]; then
        return 0
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # Without a display wineboot is quicker and shows no dialogs. Through `wine` (wine-run.sh), as
    # the `wineboot` command would start it without.
    DISPLAY='' wine wineboot.exe --init </dev/null >"$log_dir/wineboot.log" 2>&1
    # Wine's own fonts, so "MS Shell Dlg" has its usual metrics and caption buttons draw as glyphs.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    {
        # One Wine desktop shared by every program instead of a window manager: windows get
        # title bars, FindWindow works across processes, and focus does not follow the pointer.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f
        # A program that crashes ends instead of waiting in Wine's crash dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    } </dev/null >>"$log_dir/wineboot.log" 2>&1
    # The desktop setting is read when Wine starts: let this server save the registry and end.
    wineserver -w
    touch "$stamp"
}

# Starts Xvfb on a display number it picks itself and waits until it accepts clients.
wine_start_display() {
    local display_file="$wine_dir/display"
    rm -f "$display_file"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$display_file" \
        </dev/null >"$log_dir/xvfb.log" 2>&1 &
    wine_xvfb_pid=$!
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        if [[ -s $display_file ]]; then
            DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
            export DISPLAY
            return 0
        fi
        if ! kill -0 "$wine_xvfb_pid" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    echo "wine-env: Xvfb did not start; see $log_dir/xvfb.log" >&2
    return 1
}

wine_env_start() {
    mkdir -p "$wine_dir" "$log_dir"
    wine_make_prefix
    wine_start_display
    # A server left by an earlier run of this prefix would keep the old display.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p
    # Wine's helper processes (services, the desktop) start with the first program and inherit
    # its standard handles; start them here, away from any pipe a caller (ctest) waits on.
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

# Stops the wineserver (and with it every Windows program of this prefix) before the display, so
# that no program loses its display while running.
wine_env_stop() {
    unset LQ_WINE_ENV_ACTIVE
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [[ -n $wine_xvfb_pid ]]; then
        kill "$wine_xvfb_pid" 2>/dev/null || true
        wait "$wine_xvfb_pid" 2>/dev/null || true
        wine_xvfb_pid=""
    fi
}

# A script started from a shell that has sourced this file uses that shell's display and server.
if [[ -z ${LQ_WINE_ENV_ACTIVE:-} ]]; then
    wine_env_start
    export LQ_WINE_ENV_ACTIVE=1
    on_exit wine_env_stop
fi
