#!/usr/bin/env bash
# Starts or stops a Wine "shell" virtual desktop with its taskbar on an Xvfb display.
#   tools/wine-desktop.sh start STATE_DIR [DISPLAY_NUMBER|auto|current]   prints the environment to export
#   tools/wine-desktop.sh stop STATE_DIR
# With PENDREL_DPI set at start (say 144), the desktop and every program in it
# run at that scale instead of 96 DPI.
# STATE_DIR holds the Wine prefix and the pids of what this script started; stop
# ends only those. Every wait is bounded. With "auto" (the default) the first
# display number from 90 on that no X server uses is taken for a new Xvfb;
# "current" puts the desktop on the X display in $DISPLAY instead.
#
# Everything started here runs in its own session with its output in STATE_DIR,
# so that `eval "$(tools/wine-desktop.sh start ...)"` returns as soon as the
# desktop is up, and so that ending the caller's process group leaves the
# desktop alone until `stop`.
set -euo pipefail

cmd=${1:?start or stop}
state=${2:?state directory}

# shellcheck source=tools/desktop-common.sh
. "$(dirname "$0")/desktop-common.sh"

stop() {
    [ -d "$state" ] || return 0
    export WINEPREFIX="$state/prefix"
    if [ -f "$state/env" ]; then
        # shellcheck disable=SC1091
        . "$state/env"
        timeout 20 wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -f "$state/keeper.pgid" ]; then
        kill -- "-$(cat "$state/keeper.pgid")" 2>/dev/null || true
        rm -f "$state/keeper.pgid"
    fi
    for f in "$state"/*.pid; do
        [ -f "$f" ] || continue
        kill "$(cat "$f")" 2>/dev/null || true
        rm -f "$f"
    done
    rm -f "$state/env"
}

start_xvfb() {
    local n=$1 lock="/tmp/.X$1-lock"
    if [ -e "$lock" ] && ! pid_alive "$(tr -dc '0-9' <"$lock" 2>/dev/null)"; then
        rm -f "$lock" "/tmp/.X11-unix/X$n"
    fi
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        pid_alive "$(cat "$state/xvfb.pid")" || return 1
        xdpyinfo -display ":$n" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    return 1
}

start() {
    local wanted=${3:-auto} display=""
    case "${PENDREL_DPI:-}" in
        *[!0-9]* | 0*) echo "PENDREL_DPI must be a whole number of dots per inch, such as 144" >&2; exit 1 ;;
    esac
    mkdir -p "$state"
    stop
    if [ "$wanted" = current ]; then
        xdpyinfo >/dev/null 2>&1 || { echo "DISPLAY '${DISPLAY:-}' cannot be reached" >&2; exit 1; }
        display=$DISPLAY
    elif [ "$wanted" = auto ]; then
        for n in $(seq 90 199); do
            display_free "$n" || continue
            if start_xvfb "$n"; then display=":$n"; break; fi
        done
    else
        display_free "$wanted" || { echo "display :$wanted is in use" >&2; exit 1; }
        start_xvfb "$wanted" && display=":$wanted"
    fi
    [ -n "$display" ] || { echo "could not start Xvfb" >&2; cat "$state/xvfb.log" >&2 || true; exit 1; }

    export DISPLAY="$display" WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        timeout 180 wine wineboot -i </dev/null >"$state/wineboot.log" 2>&1
    fi
    if [ -n "${PENDREL_DPI:-}" ]; then
        # Each process reads the scale once, as it starts: the processes that
        # wineboot left running are ended so that none keeps 96 DPI, and the
        # desktop started below reads the new value like every later program.
        timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PENDREL_DPI" /f \
            </dev/null >/dev/null 2>&1
        timeout 20 wineserver -k >/dev/null 2>&1 || true
        timeout 20 wineserver -w >/dev/null 2>&1 || true
    fi
    # A persistent server: each later wine start skips the server's start-up.
    timeout 20 setsid wineserver -p </dev/null >/dev/null 2>&1 || true
    timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f </dev/null >/dev/null 2>&1
    timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f </dev/null >/dev/null 2>&1
    # "wine explorer" brings up the shell desktop with its taskbar and a file
    # window. A console process with no window keeps the desktop alive, so the
    # file window can be closed and the desktop stays empty but for the taskbar.
    setsid wine explorer </dev/null >"$state/explorer.log" 2>&1 &
    local browser=$!
    for _ in $(seq 150); do
        xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    setsid bash -c 'sleep infinity | wine cmd /k >/dev/null 2>&1' </dev/null >/dev/null 2>&1 &
    echo $! >"$state/keeper.pgid"
    sleep 2
    kill "$browser" 2>/dev/null || true
    sleep 1
    write_env
}

case "$cmd" in
    start) start "$@" ;;
    stop) stop ;;
    *) echo "usage: $0 start STATE_DIR [DISPLAY|auto|current] | stop STATE_DIR" >&2; exit 2 ;;
esac
