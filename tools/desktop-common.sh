# What tools/wine-desktop.sh and tools/two-monitor-desktop.sh share; sourced.

# Wine takes its ANSI code page from the locale: C.UTF-8 gives 1252, which the
# program's registry value names with an accented letter rely on.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

pid_alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

# Whether display number $1 is free: a lock left by a server that has gone is
# stale; any other is taken.
display_free() {
    local n=$1 lock="/tmp/.X$1-lock"
    if [ -e "$lock" ]; then
        pid_alive "$(tr -dc '0-9' <"$lock" 2>/dev/null)" && return 1
    fi
    [ ! -e "/tmp/.X11-unix/X$n" ] || [ -e "$lock" ]
}

# The environment the desktop's programs need, kept in $state/env and printed
# for the caller to evaluate.
write_env() {
    {
        echo "export DISPLAY=$DISPLAY"
        echo "export WINEPREFIX=$WINEPREFIX"
        echo "export WINEDEBUG=-all"
        echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
        echo "export LANG=$LANG LC_ALL=$LC_ALL"
    } >"$state/env"
    cat "$state/env"
}
