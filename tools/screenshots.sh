#!/usr/bin/env bash
# Makes the README's pictures from the running program under Wine, so that
# they never drift from it: the configuration dialog, the About box and the
# taskbar raised over a full-screen window (its strip out of the way) on a 96 DPI
# desktop, then both dialogs on a desktop scaled to 144 DPI, then the second
# taskbar raised on two monitors side by side. Each desktop is a fresh one of
# its own (tools/wine-desktop.sh, tools/two-monitor-desktop.sh); shoot.exe
# puts pendrel.exe in each state, the X display is grabbed (ImageMagick) and
# cropped to what the picture shows, and the PNGs go to docs/.
#   tools/screenshots.sh               builds build/mingw-x86_64 first
#   tools/screenshots.sh BUILD_DIR     uses the pendrel.exe and shoot.exe built there
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
state="$root/build/wine-screenshots"
work="$root/build/screenshots"
docs="$root/docs"

desktop_script="$root/tools/wine-desktop.sh"
stop_desktop() { "$desktop_script" stop "$state" >/dev/null 2>&1 || true; }
trap stop_desktop EXIT

"$root/tools/install-deps.sh" run
if [ $# -ge 1 ]; then
    build=$(cd "$1" && pwd)
else
    build="$root/build/mingw-x86_64"
    [ -f "$build/build.ninja" ] || cmake --preset mingw-x86_64 >/dev/null
    timeout 1800 cmake --build --preset mingw-x86_64 -j2 --target pendrel shoot
fi
[ -f "$build/bin/shoot.exe" ] && [ -f "$build/bin/pendrel.exe" ] ||
    { echo "no pendrel.exe and shoot.exe in $build/bin" >&2; exit 1; }
mkdir -p "$work" "$docs"

# One step of shoot.exe; its output without Windows line ends. Through a file:
# the pendrel.exe it starts keeps its output open, so a pipe would never end.
shoot() {
    local rc=0
    timeout 60 wine "$build/bin/shoot.exe" "$@" </dev/null >"$work/shoot.out" || rc=$?
    tr -d '\r' <"$work/shoot.out"
    return "$rc"
}

# The screen as it is now, cropped to the geometry, as docs/NAME.png. No
# timestamps in the file: the same picture gives the same bytes.
grab() {
    local name=$1 geometry=$2
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "$geometry" +repage -strip -define png:exclude-chunks=date,time \
        "$docs/$name.png"
    echo "docs/$name.png ($geometry)"
}

dialog() {
    local name=$1 which=$2 geometry
    geometry=$(shoot "$which")
    grab "$name" "$geometry"
    shoot close
}

# A step that holds its state for a few seconds after READY (raise,
# two-monitors): the grab happens in that time.
held() {
    local name=$1 step=$2 out="$work/held.out" geometry=""
    : >"$out"
    timeout 60 wine "$build/bin/shoot.exe" "$step" 4 </dev/null >"$out" 2>&1 &
    local raiser=$!
    for _ in $(seq 200); do
        grep -q READY "$out" && break
        kill -0 "$raiser" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q READY "$out"; then
        cat "$out" >&2
        wait "$raiser" || true
        echo "shoot.exe $step did not get there" >&2
        return 1
    fi
    geometry=$(head -n 1 "$out" | tr -d '\r')
    grab "$name" "$geometry"
    wait "$raiser"
}

# A fresh desktop at the scale given (96: the default, unscaled).
desktop() {
    local dpi=$1 desktop_env
    stop_desktop
    rm -rf "$state"
    desktop_script="$root/tools/wine-desktop.sh"
    if [ "$dpi" = two-monitors ]; then
        desktop_script="$root/tools/two-monitor-desktop.sh"
        desktop_env=$(env -u PENDREL_DPI timeout 300 "$desktop_script" start "$state" auto)
    elif [ "$dpi" = 96 ]; then
        desktop_env=$(env -u PENDREL_DPI timeout 300 "$root/tools/wine-desktop.sh" start "$state" auto)
    else
        desktop_env=$(PENDREL_DPI=$dpi timeout 300 "$root/tools/wine-desktop.sh" start "$state" auto)
    fi
    eval "$desktop_env"
}

desktop 96
shoot start
dialog config config
dialog about about
# The strip stays lit once the taskbar has come up while the pointer rests on it.
held taskbar-raised raise
shoot stop

desktop 144
shoot start
dialog config-144dpi config
dialog about-144dpi about
shoot stop

# Stand-in taskbars on both monitors, brought and taken away by the step itself.
desktop two-monitors
# The whole of both monitors, at full size: halved, the labels cannot be read.
held two-monitors two-monitors
stop_desktop
