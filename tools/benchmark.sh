#!/usr/bin/env bash
# Footprint and responsiveness of pendrel.exe, each figure measured in the same
# run beside a baseline, since these machines are noisy. Prints one table.
#   tools/benchmark.sh [--short] [--x86_64-dir DIR] [--i686-dir DIR] [--before REV]
# --before REV also builds pendrel.exe as it was at the git revision REV and
# measures its idle cost and its questions to the shell in the same run, for
# the figures before and after a change.
# --short is a quick pass that only shows the benchmark works (the test
# command runs it); its figures mean little. The build directories default to
# build/bench-x86_64 and build/bench-i686 (configured from the presets when
# they are not yet). The benchmark reports; it does not judge: it exits 0
# whatever the figures, and non-zero only when it could measure nothing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

short=0
before_rev=""
x64_dir="$root/build/bench-x86_64"
x86_dir="$root/build/bench-i686"
while [ $# -gt 0 ]; do
    case "$1" in
        --short) short=1 ;;
        --x86_64-dir) x64_dir=$(realpath -m "$2"); shift ;;
        --i686-dir) x86_dir=$(realpath -m "$2"); shift ;;
        --before) before_rev=$2; shift ;;
        *) echo "usage: $0 [--short] [--x86_64-dir DIR] [--i686-dir DIR] [--before REV]" >&2; exit 2 ;;
    esac
    shift
done

if [ "$short" = 1 ]; then
    idle_seconds=5 tries=3 activations=20 openings=5 state="$root/build/bench-wine-short"
else
    idle_seconds=60 tries=20 activations=1000 openings=100 state="$root/build/bench-wine"
fi
delay_ms=200
settle_seconds=3

# Goals.
size_limit_kib=64
cpu_ratio_limit=1.5
# The idle CPU's ratio to the baseline on two monitors against one.
monitors_ratio_limit=1.2
memory_ratio_limit=1.2
activation_limit_ms=50
release_limit_ms=1100
# Wine keeps up to 64 window DCs in each process (each with a region and a
# surface object): a cache that may fill up during the churn.
dc_cache_limit=64

log() { echo "benchmark: $*" >&2; }
die() { echo "benchmark: cannot measure: $*" >&2; exit 1; }

# --- Build -----------------------------------------------------------------
build() {
    local preset=$1 dir=$2
    shift 2
    if [ ! -f "$dir/build.ninja" ]; then
        timeout 600 cmake --preset "$preset" -B "$dir" >/dev/null || return 1
    fi
    timeout 1800 cmake --build "$dir" -j2 --target "$@" >"$state.build-$preset.log" 2>&1 || {
        tail -n 30 "$state.build-$preset.log" >&2
        return 1
    }
}

mkdir -p "$(dirname "$state")"
log "building (x86_64: $x64_dir, i686: $x86_dir)"
build mingw-x86_64 "$x64_dir" pendrel bench_baseline bench_baseline_shell bench_bare bench_driver || die "the x86_64 build failed"
i686_built=1
build mingw-i686 "$x86_dir" pendrel bench_bare || { i686_built=0; log "the i686 build failed: no i686 figures"; }
bin64="$x64_dir/bin"
bin32="$x86_dir/bin"
before_exe=""
if [ -n "$before_rev" ]; then
    before_src="$root/build/bench-before-src"
    log "building pendrel.exe as it was at $before_rev"
    rm -rf "$before_src"
    git -C "$root" worktree prune
    if git -C "$root" worktree add --detach -f "$before_src" "$before_rev" >/dev/null 2>&1 &&
        (cd "$before_src" && build mingw-x86_64 "$root/build/bench-before" pendrel); then
        before_exe="$root/build/bench-before/bin/pendrel.exe"
    else
        log "the build at $before_rev failed: no figures before"
    fi
fi

# --- Helpers ---------------------------------------------------------------
# A RESULT line's value from a driver output file ("-" when absent).
get() { awk -v key="$2" '$1 == "RESULT" && $2 == key { print $3; found = 1 } END { if (!found) print "-" }' "$1"; }
# Arithmetic and comparisons on decimals (callers check the values are known).
calc() { awk "BEGIN { printf \"%.${2:-1}f\", $1 }"; }
known() { for v in "$@"; do [ "$v" != "-" ] && [ -n "$v" ] || return 1; done; }
holds() { awk "BEGIN { exit !($1) }"; }
verdict() { if holds "$1"; then echo yes; else echo NO; fi; }
kib() { calc "$1 / 1024" 1; }

rows=()
notes=()
row_text() { printf '| %s | %s | %s | %s | %s |' "$@"; }
row() { rows+=("$(row_text "$@")"); }
note() { notes+=("$*"); }

# --- Size and imports ------------------------------------------------------
allowed_dll='^(kernel32|user32|gdi32|shell32|advapi32|ole32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
dlls() { "$1-w64-mingw32-objdump" -p "$2" | awk '/DLL Name:/ { print $3 }' | tr '\n' ' ' | sed 's/ $//'; }
foreign_dlls() {
    local out=""
    for d in $1; do
        echo "$d" | tr 'A-Z' 'a-z' | grep -Eq "$allowed_dll" || out="$out $d"
    done
    echo "${out# }"
}

size_row() {
    local arch=$1 bin=$2
    local size bare
    size=$(stat -c %s "$bin/pendrel.exe")
    bare=$(stat -c %s "$bin/bench_bare.exe")
    row "size of pendrel.exe, $arch" "$size B ($(kib "$size") KiB)" "$bare B ($(kib "$bare") KiB), bare window program" \
        "at most $size_limit_kib KiB" "$(verdict "$size <= $size_limit_kib * 1024")"
}

dll_row() {
    local arch=$1 tool=$2 bin=$3
    local mine bare foreign
    mine=$(dlls "$tool" "$bin/pendrel.exe")
    bare=$(dlls "$tool" "$bin/bench_bare.exe")
    foreign=$(foreign_dlls "$mine")
    row "DLLs it needs, $arch" "$mine" "$bare" "system DLLs only (KERNEL32, USER32, GDI32, SHELL32, ADVAPI32, OLE32, msvcrt/UCRT)" \
        "$([ -z "$foreign" ] && echo yes || echo "NO: $foreign")"
    [ -z "$foreign" ] || foreign_seen="$foreign"
}

foreign_seen=""
size_row x86_64 "$bin64"
[ "$i686_built" = 1 ] && size_row i686 "$bin32"
dll_row x86_64 x86_64 "$bin64"
[ "$i686_built" = 1 ] && dll_row i686 i686 "$bin32"
if echo "$foreign_seen" | grep -qi '^comctl32\.dll$'; then
    note "Imports beyond the list ($foreign_seen): COMCTL32 is a system DLL, present on every Windows; the program" \
         "needs it for the tab control of both dialogs (InitCommonControlsEx)."
elif [ -n "$foreign_seen" ]; then
    note "Imports beyond the list: $foreign_seen."
fi

# --- The Wine desktop ------------------------------------------------------
stop_desktop() { "$root/tools/wine-desktop.sh" stop "$state" >/dev/null 2>&1 || true; }
trap stop_desktop EXIT
log "starting a Wine desktop in $state"
desktop_env=$(timeout 300 "$root/tools/wine-desktop.sh" start "$state" auto) || die "no Wine desktop"
eval "$desktop_env"
PENDREL_XDOTOOL=$(command -v xdotool || true)
export PENDREL_XDOTOOL

# The driver's console output has Windows line ends.
driver() { (cd "$bin64" && timeout 1800 wine bench_driver.exe "$@" </dev/null 2>>"$state/driver.log") | tr -d '\r'; }
measured=0

# --- Idle CPU and memory ---------------------------------------------------
# The Linux process of a Windows program of this desktop, found by its path
# and by the prefix in its environment (other desktops may run the same).
linux_pid() {
    local exe=$1 pid
    for pid in $(pgrep -f "$exe" || true); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        echo "$pid"
        return 0
    done
    return 1
}
# CPU time in nanoseconds of every thread of a process.
cpu_ns() {
    local total=0 f run
    for f in /proc/"$1"/task/*/schedstat; do
        read -r run _ <"$f" || continue
        total=$((total + run))
    done
    echo "$total"
}
status_kib() { awk -v field="$2:" '$1 == field { print $2 }' "/proc/$1/status"; }
# Resident KiB by mapped file (or [anonymous]), one "name kib" a line.
rss_by_mapping() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { n = split($6, part, "/"); name = NF >= 6 ? part[n] : "[anonymous]"; next }
         $1 == "Rss:" { kib[name] += $2 }
         END { for (k in kib) print k, kib[k] }' "/proc/$1/smaps"
}
# The mappings that hold most more in the first process than in the second.
rss_difference() {
    join -a 1 -e 0 -o 0,1.2,2.2 <(rss_by_mapping "$1" | sort) <(rss_by_mapping "$2" | sort) |
        awk '{ d = $2 - $3; if (d > 0) print d, $1 }' | sort -rn | head -n "${3:-6}" |
        awk '{ printf "%s%s %.1f MiB", (NR > 1 ? ", " : ""), $2, $1 / 1024 }'
}

cpu_ratio_one=-
idle_file="$state/idle.txt"
: >"$idle_file"
log "idle: ${idle_seconds} s, pointer away from the strip"
driver reset >/dev/null || true
setsid wine "$bin64/pendrel.exe" </dev/null >"$state/pendrel.log" 2>&1 &
setsid wine "$bin64/bench_baseline.exe" </dev/null >"$state/baseline.log" 2>&1 &
setsid wine "$bin64/bench_baseline_shell.exe" </dev/null >"$state/baseline-shell.log" 2>&1 &
if driver ready >>"$idle_file" && pid_p=$(linux_pid "$bin64/pendrel.exe") &&
    pid_b=$(linux_pid "$bin64/bench_baseline.exe") && pid_s=$(linux_pid "$bin64/bench_baseline_shell.exe"); then
    [ -z "$PENDREL_XDOTOOL" ] || "$PENDREL_XDOTOOL" mousemove 500 300
    sleep "$settle_seconds"
    p0=$(cpu_ns "$pid_p") b0=$(cpu_ns "$pid_b") s0=$(cpu_ns "$pid_s")
    sleep "$idle_seconds"
    p1=$(cpu_ns "$pid_p") b1=$(cpu_ns "$pid_b") s1=$(cpu_ns "$pid_s")
    cpu_p=$(calc "($p1 - $p0) / 1e6" 1)
    cpu_b=$(calc "($b1 - $b0) / 1e6" 1)
    cpu_s=$(calc "($s1 - $s0) / 1e6" 1)
    rss_p=$(status_kib "$pid_p" VmRSS) rss_b=$(status_kib "$pid_b" VmRSS)
    anon_p=$(status_kib "$pid_p" RssAnon) anon_b=$(status_kib "$pid_b" RssAnon)
    measured=1
    if holds "$cpu_b > 0"; then
        ratio=$(calc "$cpu_p / $cpu_b" 2)
        cpu_ratio_one=$ratio
        row "idle CPU over ${idle_seconds} s (Linux schedstat of the Wine process)" "$cpu_p ms" "$cpu_b ms" \
            "at most $cpu_ratio_limit x baseline" "$(verdict "$ratio <= $cpu_ratio_limit") ($ratio x)"
    else
        row "idle CPU over ${idle_seconds} s" "$cpu_p ms" "$cpu_b ms" "at most $cpu_ratio_limit x baseline" "n/a (baseline 0)"
    fi
    row "  idle CPU of a baseline that also asks the shell for the taskbar each second" "-" "$cpu_s ms" \
        "(what that question costs)" "$(calc "$cpu_s / ($cpu_b > 0 ? $cpu_b : 1)" 2) x"
    note "Beyond the baseline, Pendrel's idle polls cost $(calc "$cpu_p - $cpu_b" 1) ms over ${idle_seconds} s; asking the" \
         "shell for the taskbar at every tick would add $(calc "$cpu_s - $cpu_b" 1) ms (the baseline that asks, beside it)."
    ratio=$(calc "$rss_p / $rss_b" 2)
    row "memory, resident (VmRSS)" "$(kib "$rss_p") MiB" "$(kib "$rss_b") MiB" "at most $memory_ratio_limit x baseline" \
        "$(verdict "$ratio <= $memory_ratio_limit") ($ratio x)"
    row "memory, private part of it (RssAnon)" "$(kib "$anon_p") MiB" "$(kib "$anon_b") MiB" "(shown for the reasoning)" \
        "$(calc "$anon_p / $anon_b" 2) x"
    note "Resident memory Pendrel holds beyond the baseline, by mapping: $(rss_difference "$pid_p" "$pid_b")."
else
    log "idle: the programs did not come up"
    row "idle CPU" "-" "-" "at most $cpu_ratio_limit x baseline" "not measured"
    row "memory" "-" "-" "at most $memory_ratio_limit x baseline" "not measured"
fi
driver stop >/dev/null || true
# Where the rows measured on two monitors go, at the end of the run.
idle_rows_end=${#rows[@]}

# The same idle measure for another copy of the program, beside the baseline:
# "CPU_MS BASELINE_CPU_MS VMRSS_KIB BASELINE_VMRSS_KIB". STRIPS, when given, is
# how many strips of secondary taskbars it must have made first.
# The figures come once everything is stopped: the caller reads them and may
# end the desktop at once.
idle_of() {
    local exe=$1 strips=${2:-0} pid_x pid_y x0 y0 x1 y1 figures="- - - -"
    driver reset >/dev/null || true
    setsid wine "$exe" </dev/null >/dev/null 2>&1 &
    setsid wine "$bin64/bench_baseline.exe" </dev/null >/dev/null 2>&1 &
    if driver ready "$strips" >/dev/null && pid_x=$(linux_pid "$exe") &&
        pid_y=$(linux_pid "$bin64/bench_baseline.exe"); then
        [ -z "$PENDREL_XDOTOOL" ] || "$PENDREL_XDOTOOL" mousemove 500 300
        sleep "$settle_seconds"
        x0=$(cpu_ns "$pid_x") y0=$(cpu_ns "$pid_y")
        sleep "$idle_seconds"
        x1=$(cpu_ns "$pid_x") y1=$(cpu_ns "$pid_y")
        figures="$(calc "($x1 - $x0) / 1e6" 1) $(calc "($y1 - $y0) / 1e6" 1)"
        figures="$figures $(status_kib "$pid_x" VmRSS) $(status_kib "$pid_y" VmRSS)"
    fi
    driver stop >/dev/null || true
    echo "$figures"
}
if [ -n "$before_exe" ]; then
    log "idle, Pendrel as it was at $before_rev: ${idle_seconds} s"
    read -r cpu_x cpu_y _ < <(idle_of "$before_exe")
    if known "$cpu_x" "$cpu_y" && holds "$cpu_y > 0"; then
        row "  idle CPU of Pendrel as it was at $before_rev (measured after it, beside the baseline again)" \
            "$cpu_x ms" "$cpu_y ms" "(before)" "$(calc "$cpu_x / $cpu_y" 2) x"
    fi
fi

# Wine's shell traces every SHAppBarMessage of the process that makes it: a
# copy started with that trace tells how often it asks the shell while
# nobody uses it. ABM_GETTASKBARPOS is message 5.
asks_per_minute() {
    local exe=$1 trace="$state/appbar-trace.log" n0 n1
    driver reset >/dev/null || true
    WINEDEBUG=trace+appbar setsid wine "$exe" </dev/null >/dev/null 2>"$trace" &
    setsid wine "$bin64/bench_baseline.exe" </dev/null >/dev/null 2>&1 &
    if driver ready >/dev/null; then
        [ -z "$PENDREL_XDOTOOL" ] || "$PENDREL_XDOTOOL" mousemove 500 300
        sleep "$settle_seconds"
        n0=$(grep -c 'SHAppBarMessage msg=5,' "$trace" || true)
        sleep "$idle_seconds"
        n1=$(grep -c 'SHAppBarMessage msg=5,' "$trace" || true)
        calc "($n1 - $n0) * 60 / $idle_seconds" 1
    else
        echo "-"
    fi
    driver stop >/dev/null || true
}
log "questions to the shell while idle: ${idle_seconds} s"
asks_now=$(asks_per_minute "$bin64/pendrel.exe")
asks_before="-"
[ -z "$before_exe" ] || asks_before=$(asks_per_minute "$before_exe")
if known "$asks_now"; then
    row "position requests to the shell while idle (ABM_GETTASKBARPOS, per minute, over ${idle_seconds} s)" \
        "$asks_now" "$([ "$asks_before" = - ] && echo "-" || echo "$asks_before, Pendrel as it was at $before_rev")" \
        "at most 2 a minute" "$(verdict "$asks_now <= 2")"
fi

# --- Latency ---------------------------------------------------------------
latency_row() {
    local label=$1 file=$2 limit=$3
    local med worst n missed bmed bworst
    med=$(get "$file" activation_median_ms) worst=$(get "$file" activation_worst_ms)
    n=$(get "$file" activation_n) missed=$(get "$file" activation_missed)
    bmed=$(get "$file" baseline_activation_median_ms) bworst=$(get "$file" baseline_activation_worst_ms)
    if known "$med" "$worst"; then
        row "$label" "median $med ms, worst $worst ms ($n tries, $missed missed)" \
            "median $bmed ms, worst $bworst ms" "median under $limit ms" "$(verdict "$med < $limit")"
    else
        row "$label" "-" "-" "median under $limit ms" "not measured"
    fi
}

log "activation and release latency: $tries tries with the delay off, $tries with ${delay_ms} ms"
off_file="$state/latency-off.txt"
on_file="$state/latency-on.txt"
driver latency "$tries" 0 >"$off_file" && measured=1 || log "latency with the delay off: not measured"
driver latency "$tries" "$delay_ms" >"$on_file" && measured=1 || log "latency with the delay on: not measured"
latency_row "activation latency, delay off ($(get "$off_file" pointer_method) motion to taskbar above the cover)" \
    "$off_file" "$activation_limit_ms"
latency_row "activation latency, delay ${delay_ms} ms" "$on_file" "$((delay_ms + activation_limit_ms))"

# The release: both runs together.
stats() { sort -n | awk '$1 >= 0 { v[n++] = $1 } END { if (!n) { print "- - 0"; exit }
    m = n % 2 ? v[int(n/2)] : (v[n/2-1] + v[n/2]) / 2; printf "%.1f %.1f %d\n", m, v[n-1], n }'; }
read -r rel_med rel_worst rel_n < <(grep -h '^try ' "$off_file" "$on_file" 2>/dev/null |
    sed -E 's/.*release ([-0-9.]+) ms.*/\1/' | stats)
read -r brel_med brel_worst _ < <(grep -h '^try ' "$off_file" "$on_file" 2>/dev/null |
    sed -E 's/.*release [-0-9.]+ ms \(baseline ([-0-9.]+),.*/\1/' | stats)
if known "$rel_med" "$rel_worst"; then
    row "release latency (pointer off the taskbar to taskbar released below the cover)" \
        "median $rel_med ms, worst $rel_worst ms ($rel_n tries)" \
        "median $brel_med ms, worst $brel_worst ms (a 1 s check)" "under $release_limit_ms ms" \
        "$(verdict "$rel_worst < $release_limit_ms")"
else
    row "release latency" "-" "-" "under $release_limit_ms ms" "not measured"
fi
behind_med=$(get "$off_file" falls_behind_median_ms)
if known "$behind_med" && known "$rel_med" && holds "$behind_med + 50 < $rel_med"; then
    note "Under Wine the raised taskbar fell behind the cover a median $behind_med ms after the pointer left" \
         "(delay off), before the program released it: hiding the highlight moves the TriggerWindow to zero size" \
         "and back, and Wine then puts the taskbar back below the other always-on-top windows."
fi

# --- Handles and objects ---------------------------------------------------
log "objects: $activations activations, $openings openings of each dialog"
churn_file="$state/churn.txt"
driver churn "$activations" "$openings" >"$churn_file" && measured=1 || log "objects: not measured"

# Growth over each series (activations, About openings, configuration
# openings), half by half. A leak grows in both halves of its series; a cache
# of the system that fills up, or an object made once at its first use, grows
# in one of them only. How a row is judged: strict (no growth at all), cache
# (no growth that repeats, and window DCs within Wine's cache), or info.
series_names=(activations about config)
series_labels=(activations About configuration)
# Prints "REPEATS TEXT": REPEATS is 1 when a series grew in both halves.
halves() {
    local field=$1 previous=start i h e a out="" repeats=0
    for i in 0 1 2; do
        h=$(get "$churn_file" "pendrel_${series_names[$i]}_half_$field")
        e=$(get "$churn_file" "pendrel_${series_names[$i]}_end_$field")
        a=$(get "$churn_file" "pendrel_${previous}_$field")
        if known "$a" "$h" "$e"; then
            out="$out${out:+, }${series_labels[$i]} $(printf '%+d/%+d' $((h - a)) $((e - h)))"
            [ $((h - a)) -gt 0 ] && [ $((e - h)) -gt 0 ] && repeats=1
        fi
        previous="${series_names[$i]}_end"
    done
    echo "$repeats $out"
}
growth_row() {
    local label=$1 field=$2 judge=$3 goal=$4
    local p0 p1 b0 b1 text met repeats by_half
    p0=$(get "$churn_file" "pendrel_start_$field") p1=$(get "$churn_file" "pendrel_config_end_$field")
    b0=$(get "$churn_file" "baseline_start_$field") b1=$(get "$churn_file" "baseline_config_end_$field")
    if ! known "$p0" "$p1" || [ "$p0" = -1 ]; then
        row "$label" "-" "-" "$goal" "not measured"
        return
    fi
    read -r repeats by_half < <(halves "$field")
    text="$p0 -> $p1 (growth in each half: $by_half)"
    case "$judge" in
        strict) met=$(verdict "$p1 <= $p0") ;;
        cache)
            local dcs0 dcs1
            dcs0=$(get "$churn_file" pendrel_start_gdi_dcs) dcs1=$(get "$churn_file" pendrel_config_end_gdi_dcs)
            text="$text; at the start: $(get "$churn_file" pendrel_start_gdi_kinds); at the end: $(get "$churn_file" pendrel_config_end_gdi_kinds)"
            if [ "$p1" -le "$p0" ]; then
                met=yes
            elif [ "$repeats" = 0 ] && known "$dcs0" "$dcs1" && [ $((dcs1 - dcs0)) -le "$dc_cache_limit" ]; then
                met="yes: no growth repeats; +$((dcs1 - dcs0)) window DCs (Wine caches up to $dc_cache_limit) and objects made at a first use"
            else
                met=NO
            fi
            ;;
        *) met="-" ;;
    esac
    row "$label" "$text" "$b0 -> $b1" "$goal" "$met"
}

churn_label="after $activations activations and $openings openings of each dialog"
if [ "$(get "$churn_file" counting_gui_resources)" = 1 ]; then
    growth_row "GDI objects (GetGuiResources) $churn_label" gui_gdi strict "no growth"
    growth_row "USER objects (GetGuiResources)" gui_user strict "no growth"
else
    row "GDI and USER objects (GetGuiResources) $churn_label" \
        "GDI $(get "$churn_file" pendrel_start_gui_gdi) -> $(get "$churn_file" pendrel_config_end_gui_gdi), USER $(get "$churn_file" pendrel_start_gui_user) -> $(get "$churn_file" pendrel_config_end_gui_user)" \
        "the same" "no growth" "n/a: answers 0 here"
    note "GetGuiResources answers 0 under Wine (not implemented), so the objects are counted other ways, each" \
         "first checked by the driver on objects it makes itself (GDI table: $(get "$churn_file" counting_gdi_table)," \
         "kernel handles: $(get "$churn_file" counting_kernel_handles); 1 = counted right)."
fi
growth_row "GDI objects (the process's GDI handle table) $churn_label" gdi_table cache "no growth"
growth_row "USER objects: windows the process owns (menus and icons cannot be counted from outside under Wine)" \
    windows strict "no growth"
growth_row "kernel handles" kernel_handles strict "no growth"
growth_row "private memory, KiB" private_kib info "(information)"
counted=$(get "$churn_file" counted_activations) failures=$(get "$churn_file" failures)
if known "$counted"; then
    note "Churn: $failures cycles failed; the About dialog counted $counted activations (expected $((activations + 1)));" \
         "activations took $(get "$churn_file" activation_seconds) s, openings $(get "$churn_file" opening_seconds) s."
fi

# --- Idle on two monitors --------------------------------------------------
# The idle measure again with a taskbar on each of two monitors side by side,
# so that the program watches a second strip too. That desktop shows no
# taskbar of its own: the driver's stand-ins are the taskbars.
monitors_state="$state-monitors"
stop_monitors() { "$root/tools/two-monitor-desktop.sh" stop "$monitors_state" >/dev/null 2>&1 || true; }
trap 'stop_desktop; stop_monitors' EXIT
stop_desktop
log "idle on two monitors: ${idle_seconds} s"
cpu_x=- cpu_y=- rss_x=- rss_y=- cpu_bx=- cpu_by=-
if monitors_env=$(timeout 300 "$root/tools/two-monitor-desktop.sh" start "$monitors_state" auto 2>"$state.monitors.log"); then
    eval "$monitors_env"
    # The measure's end takes the stand-ins away with the programs.
    standins() { (cd "$bin64" && setsid wine bench_driver.exe standins </dev/null >/dev/null 2>>"$state/driver.log" &); }
    standins
    read -r cpu_x cpu_y rss_x rss_y < <(idle_of "$bin64/pendrel.exe" 1)
    if [ -n "$before_exe" ]; then
        log "idle on two monitors, Pendrel as it was at $before_rev: ${idle_seconds} s"
        standins
        read -r cpu_bx cpu_by _ < <(idle_of "$before_exe" 1)
    fi
else
    log "no two-monitor desktop (see $state.monitors.log)"
fi
stop_monitors
monitor_rows=()
if known "$cpu_x" "$cpu_y" "$rss_x" "$rss_y" && holds "$cpu_y > 0"; then
    measured=1
    ratio=$(calc "$cpu_x / $cpu_y" 2)
    monitor_rows+=("$(row_text "idle CPU, two monitors (a taskbar and a strip on each)" "$cpu_x ms" "$cpu_y ms" \
        "at most $cpu_ratio_limit x baseline" "$(verdict "$ratio <= $cpu_ratio_limit") ($ratio x)")")
    # The desktops differ, so each figure is read against its own baseline.
    if known "$cpu_ratio_one" && holds "$cpu_ratio_one > 0"; then
        against=$(calc "$ratio / $cpu_ratio_one" 2)
        monitor_rows+=("$(row_text "  idle CPU, two monitors against one (each to its own baseline)" "$ratio x" \
            "$cpu_ratio_one x, one monitor" "at most $monitors_ratio_limit x" \
            "$(verdict "$against <= $monitors_ratio_limit") ($against x)")")
    fi
    if known "$cpu_bx" "$cpu_by" && holds "$cpu_by > 0"; then
        monitor_rows+=("$(row_text "  idle CPU, two monitors, Pendrel as it was at $before_rev" "$cpu_bx ms" "$cpu_by ms" \
            "(before)" "$(calc "$cpu_bx / $cpu_by" 2) x")")
    fi
    ratio=$(calc "$rss_x / $rss_y" 2)
    monitor_rows+=("$(row_text "memory, two monitors (VmRSS)" "$(kib "$rss_x") MiB" "$(kib "$rss_y") MiB" \
        "at most $memory_ratio_limit x baseline" "$(verdict "$ratio <= $memory_ratio_limit") ($ratio x)")")
else
    monitor_rows+=("$(row_text "idle CPU and memory, two monitors" "-" "-" "as on one monitor" "not measured")")
fi
rows=("${rows[@]:0:idle_rows_end}" "${monitor_rows[@]}" "${rows[@]:idle_rows_end}")

# --- The table -------------------------------------------------------------
[ "$measured" = 1 ] || die "no phase of the benchmark could run under Wine"
echo
echo "Pendrel footprint and responsiveness$([ "$short" = 1 ] && echo " (short pass: figures for a check only)")"
echo
echo "| figure | Pendrel | baseline | goal | met? |"
echo "|---|---|---|---|---|"
for r in "${rows[@]}"; do echo "$r"; done
echo
for n in "${notes[@]}"; do echo "- $n"; done
echo
echo "Driver outputs: $state/*.txt"
exit 0
