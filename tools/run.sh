#!/usr/bin/env bash
# Builds pendrel.exe and starts it on a Wine desktop with a taskbar.
#   tools/run.sh        build, start, wait for its window, save a screenshot
#   tools/run.sh stop   end the program and the desktop
# On a machine without a display the desktop runs under Xvfb; when DISPLAY
# names a reachable X server, the desktop opens there as a window instead.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
state="$root/build/wine-run"

case "${1:-start}" in
    stop)
        "$root/tools/wine-desktop.sh" stop "$state"
        echo "Pendrel and its desktop are stopped."
        exit 0
        ;;
    start) ;;
    *) echo "usage: $0 [start|stop]" >&2; exit 2 ;;
esac

"$root/tools/install-deps.sh" run
[ -f build/mingw-x86_64/build.ninja ] || cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 -j2 --target pendrel

where=auto
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    where=current
fi
eval "$(timeout 300 "$root/tools/wine-desktop.sh" start "$state" "$where")"

setsid wine build/mingw-x86_64/bin/pendrel.exe </dev/null >"$state/pendrel.log" 2>&1 &
pendrel=$!
echo "$pendrel" >"$state/pendrel.pid"

# The TriggerWindow, as Wine's debugger lists the desktop's windows.
has_window() { timeout 20 wine winedbg --command "info wnd" 2>/dev/null | grep -Eq ' Marrowick +[0-9a-f]+ .* Pendrel *$'; }
found=0
for _ in $(seq 75); do
    if ! kill -0 "$pendrel" 2>/dev/null; then
        echo "pendrel.exe ended at once (is another copy running on this desktop?)" >&2
        exit 1
    fi
    if has_window; then found=1; break; fi
    sleep 0.2
done
[ "$found" = 1 ] || { echo "pendrel.exe showed no window within 15 s" >&2; exit 1; }
# The first poll, a second after start, lays the window on the strip.
sleep 1.5

mkdir -p artifacts
import -window root artifacts/pendrel-desktop.png
shots="artifacts/pendrel-desktop.png"
if [ "$where" = auto ]; then
    # On our own screen the pointer may be borrowed: show the lit strip too.
    xdotool mousemove 500 766
    sleep 0.4
    import -window root artifacts/pendrel-strip.png
    xdotool mousemove 500 300
    shots="$shots and artifacts/pendrel-strip.png (pointer on the bottom edge)"
fi

cat <<MSG

Pendrel is running on the Wine desktop on DISPLAY=$DISPLAY (prefix $WINEPREFIX).
Screenshot: $shots — open it with any image viewer.
To watch and use it live (optional): apt-get install x11vnc, then
    x11vnc -display $DISPLAY -localhost -nopw -forever &
and point a VNC viewer at localhost:5900.
Stop it with: tools/run.sh stop
MSG
