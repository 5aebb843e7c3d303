#!/usr/bin/env bash
# Starts or stops a Wine "shell" virtual desktop with its taskbar on an Xvfb display.
#   tools/wine-desktop.sh start STATE_DIR DISPLAY_NUMBER   prints the environment to export
#   tools/wine-desktop.sh stop STATE_DIR
# STATE_DIR holds the Wine prefix and the pids of what this script started; stop
# ends only those. Every wait is bounded.
set -euo pipefail

cmd=${1:?start or stop}
state=${2:?state directory}

stop() {
    [ -d "$state" ] || return 0
    export WINEPREFIX="$state/prefix"
    if [ -f "$state/env" ]; then
        # shellcheck disable=SC1091
        . "$state/env"
        timeout 20 wineserver -k 2>/dev/null || true
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
}

start() {
    local display=${3:?display number}
    mkdir -p "$state"
    stop
    export DISPLAY=":$display" WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=en_US.UTF-8 LC_ALL=C.UTF-8
    rm -f "/tmp/.X${display}-lock"
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        timeout 120 wine wineboot -i >"$state/wineboot.log" 2>&1
    fi
    timeout 20 wineserver -p 2>/dev/null || true
    timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    # "wine explorer" brings up the shell desktop with its taskbar and a file
    # window. A console process with no window keeps the desktop alive, so the
    # file window can be closed and the desktop stays empty but for the taskbar.
    wine explorer >"$state/explorer.log" 2>&1 &
    local browser=$!
    for _ in $(seq 100); do
        xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    setsid bash -c 'sleep infinity | wine cmd /k >/dev/null 2>&1' &
    echo $! >"$state/keeper.pgid"
    sleep 2
    kill "$browser" 2>/dev/null || true
    sleep 1
    {
        echo "export DISPLAY=$DISPLAY"
        echo "export WINEPREFIX=$WINEPREFIX"
        echo "export WINEDEBUG=-all"
        echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
    } >"$state/env"
    cat "$state/env"
}

case "$cmd" in
    start) start "$@" ;;
    stop) stop ;;
    *) echo "usage: $0 start STATE_DIR DISPLAY | stop STATE_DIR" >&2; exit 2 ;;
esac
