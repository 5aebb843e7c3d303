#!/usr/bin/env bash
# Starts or stops two 1024x768 monitors side by side for Wine: an Xorg server
# with the dummy video driver and two outputs, DUMMY0 (primary, at 0,0) and
# DUMMY1 (at 1024,0), and a fresh Wine prefix without a virtual desktop, so
# that Win32 programs see both monitors.
#   tools/two-monitor-desktop.sh start STATE_DIR [DISPLAY_NUMBER|auto]   prints the environment to export
#   tools/two-monitor-desktop.sh stop STATE_DIR
# Same conventions as wine-desktop.sh: STATE_DIR holds the server's
# configuration and log, the prefix and the pids of what this script started;
# stop ends only those; every wait is bounded; everything started runs in its
# own session, so that `eval "$(...)"` returns. "auto" (the default) takes the
# first display number from 200 on that no X server uses: wine-desktop.sh
# searches 90 to 199, so the two never race for a number.
#
# Wine's virtual desktop always has one monitor, hence no virtual desktop here.
# Without it Wine's own Shell_TrayWnd exists but is hidden and empty: tests
# bring taskbars of their own. To take the second monitor away and give it back:
#   xrandr --output DUMMY1 --off
#   xrandr --output DUMMY1 --mode 1024x768 --pos 1024x0
# (not --auto: DUMMY1 counts as disconnected, --auto would mirror it at 0,0).
# Wine follows within some 30 ms but broadcasts no WM_DISPLAYCHANGE for
# it; ChangeDisplaySettingsEx on \\.\DISPLAY2 from a Win32 program does both.
set -euo pipefail

cmd=${1:?start or stop}
state=${2:?state directory}

# shellcheck source=tools/desktop-common.sh
. "$(dirname "$0")/desktop-common.sh"

stop() {
    [ -d "$state" ] || return 0
    if [ -d "$state/prefix" ]; then
        WINEPREFIX="$state/prefix" timeout 20 wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -f "$state/keeper.pgid" ]; then
        kill -- "-$(cat "$state/keeper.pgid")" 2>/dev/null || true
        rm -f "$state/keeper.pgid"
    fi
    if [ -f "$state/xorg.pid" ]; then
        local pid
        pid=$(cat "$state/xorg.pid")
        kill "$pid" 2>/dev/null || true
        # The display number is free again only once the server has gone.
        for _ in $(seq 50); do
            pid_alive "$pid" || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
        rm -f "$state/xorg.pid"
    fi
    rm -f "$state/env"
}

write_config() {
    mkdir -p "$state/xorg.conf.d"
    cat >"$state/xorg.conf" <<'EOF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 64000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768"
    EndSubSection
EndSection
EOF
}

# The dummy driver asks for no console: as root, Xorg only asks /dev/tty0 for
# a free VT number and never opens or switches a VT, so no VT options are
# needed and servers of other helpers are not disturbed. The empty -configdir
# keeps the machine's own configuration snippets out.
start_xorg() {
    local n=$1 lock="/tmp/.X$1-lock"
    if [ -e "$lock" ] && ! pid_alive "$(tr -dc '0-9' <"$lock" 2>/dev/null)"; then
        rm -f "$lock" "/tmp/.X11-unix/X$n"
    fi
    setsid Xorg ":$n" -config "$state/xorg.conf" -configdir "$state/xorg.conf.d" -noreset -nolisten tcp \
        -logfile "$state/xorg.log" </dev/null >"$state/xorg.out" 2>&1 &
    local pid=$!
    echo "$pid" >"$state/xorg.pid"
    for _ in $(seq 100); do
        pid_alive "$pid" || break
        # The lock names the server that answers: ours, not one that won a race.
        if [ "$(tr -dc '0-9' 2>/dev/null <"$lock")" = "$pid" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    rm -f "$state/xorg.pid"
    return 1
}

two_outputs() {
    timeout 10 xrandr --addmode DUMMY1 1024x768 &&
        timeout 10 xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 --primary \
            --output DUMMY1 --mode 1024x768 --pos 1024x0 &&
        [ "$(timeout 10 xrandr --listmonitors | head -n 1)" = "Monitors: 2" ]
}

start() {
    local wanted=${3:-auto} display=""
    mkdir -p "$state"
    stop
    write_config
    if [ "$wanted" = auto ]; then
        for n in $(seq 200 299); do
            display_free "$n" || continue
            if start_xorg "$n"; then display=":$n"; break; fi
        done
    else
        display_free "$wanted" || { echo "display :$wanted is in use" >&2; exit 1; }
        start_xorg "$wanted" && display=":$wanted"
    fi
    [ -n "$display" ] || { echo "could not start Xorg" >&2; cat "$state/xorg.out" >&2 || true; exit 1; }
    export DISPLAY="$display"
    two_outputs || { echo "could not set up two monitors on $DISPLAY" >&2; stop; exit 1; }

    # A fresh prefix: no virtual desktop, and no display settings that a
    # previous run may have written to the registry.
    rm -rf "$state/prefix"
    export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    timeout 180 setsid wine wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || { echo "wineboot failed" >&2; stop; exit 1; }
    # A persistent server, and a console process with no window that keeps
    # Wine's explorer (which follows the outputs' changes) running between
    # programs: each later wine start skips both start-ups.
    timeout 20 setsid wineserver -p </dev/null >/dev/null 2>&1 || true
    setsid bash -c 'sleep infinity | wine cmd /k >/dev/null 2>&1' </dev/null >/dev/null 2>&1 &
    echo $! >"$state/keeper.pgid"
    write_env
}

case "$cmd" in
    start) start "$@" ;;
    stop) stop ;;
    *) echo "usage: $0 start STATE_DIR [DISPLAY_NUMBER|auto] | stop STATE_DIR" >&2; exit 2 ;;
esac
