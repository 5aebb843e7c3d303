#!/usr/bin/env bash
# Builds Pendrel three ways and runs every test: host unit tests and short
# fuzzer runs, the 32-bit Windows build (build only, with a check that it
# computes in SSE2 rather than x87 arithmetic), then the Win32 tests and
# the end-to-end scenarios of the 64-bit build under Wine, on a desktop of its
# own (those with two monitors on an Xorg desktop that has them, those of a
# display scaled to 144 DPI on one of theirs), and the release: the files of
# tools/release.sh checked against each other, its setup installed, upgraded
# and uninstalled under Wine, its manifests' writer. The CI workflow is checked
# by actionlint and shellcheck. Screenshots and logs land in artifacts/. Exits
# non-zero on any failure.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

export LANG=C.UTF-8 LC_ALL=C.UTF-8
wine_state="$root/build/wine-test"
monitors_state="$root/build/two-monitors"
artifacts="$root/artifacts"
started=$(date +%s)
summaries=()
passed_total=0
failed_total=0
status=0

step() { printf '\n=== %s (%ss)\n' "$*" "$(($(date +%s) - started))"; }
die() { echo "FAILED: $*" >&2; exit 1; }

stop_desktop() { "$root/tools/wine-desktop.sh" stop "$wine_state" >/dev/null 2>&1 || true; }
stop_monitors() { "$root/tools/two-monitor-desktop.sh" stop "$monitors_state" >/dev/null 2>&1 || true; }
trap 'stop_desktop; stop_monitors' EXIT

# Converts the scenarios' screenshots not converted yet to PNG in artifacts/e2e.
keep_screenshots() {
    local bmp png
    shopt -s nullglob
    for bmp in "$root"/build/mingw-x86_64/artifacts/*.bmp; do
        png="$artifacts/e2e/$(basename "${bmp%.bmp}").png"
        [ -e "$png" ] || convert "$bmp" "$png" || status=1
    done
}

# Runs ctest with the given arguments, keeps its log and counts its results.
run_ctest() {
    local name=$1 log="$artifacts/ctest-$1.log"
    shift
    local rc=0
    timeout 2700 ctest "$@" 2>&1 | tee "$log" || rc=$?
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
    if [ -z "$line" ]; then
        summaries+=("$name: no test summary (ctest exit $rc)")
        failed_total=$((failed_total + 1))
        status=1
        return
    fi
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed_total=$((passed_total + total - failed))
    failed_total=$((failed_total + failed))
    summaries+=("$name: $line")
    [ "$rc" -eq 0 ] && [ "$failed" -eq 0 ] || status=1
}

# Runs a check that ctest does not run, keeps its output in LOG and counts it
# as one test; the summary says SAID or, when SAID is empty, the output's
# last line.
run_check() {
    local name=$1 log=$2 said=$3
    shift 3
    if "$@" 2>&1 | tee "$log"; then
        summaries+=("$name: ${said:-$(tail -n 1 "$log")}")
        passed_total=$((passed_total + 1))
    else
        summaries+=("$name: FAILED (see ${log#"$root"/})")
        failed_total=$((failed_total + 1))
        status=1
    fi
}

step "Installing what is missing"
"$root/tools/install-deps.sh" test

mkdir -p "$artifacts"
rm -rf "$artifacts/e2e" "$root/build/mingw-x86_64/artifacts"
mkdir -p "$artifacts/e2e"

step "Folder layering (no circle between the folders of src/)"
"$root/tools/check-layers.sh" || die "the folders of src/ include each other in a circle"

step "Host build (clang, sanitizers, fuzzers)"
cmake --preset host -DPENDREL_WERROR=ON >/dev/null || die "host configure"
timeout 1800 cmake --build --preset host -j2 || die "host build"

step "Host tests"
run_ctest host --preset host -j2

step "Windows i686 build (build only)"
cmake --preset mingw-i686 -DPENDREL_WERROR=ON >/dev/null || die "i686 configure"
timeout 1800 cmake --build --preset mingw-i686 -j2 || die "i686 build"

step "Windows i686 build: the rate in SSE2 arithmetic"
run_check "i686 float" "$artifacts/i686-float.txt" "passed (SSE2, no x87 arithmetic in the rate)" \
    "$root/tools/check-i686-float.sh" "$root/build/mingw-i686"

step "Windows x86_64 build"
cmake --preset mingw-x86_64 -DPENDREL_WERROR=ON >/dev/null || die "x86_64 configure"
timeout 1800 cmake --build --preset mingw-x86_64 -j2 || die "x86_64 build"

step "Release files (tools/release.sh, which checks them against each other)"
run_check release "$artifacts/release.log" "passed (dist/, artifacts/release.log)" timeout 900 "$root/tools/release.sh"

step "Release manifests: the project's texts through every format, the addresses of a publishable release"
run_check "release manifests" "$artifacts/release-manifests.log" "passed (artifacts/release-manifests.log)" \
    python3 "$root/tests/release/manifests_test.py"

step "CI workflow (actionlint, shellcheck of its run: blocks)"
run_check workflow "$artifacts/workflow-check.log" "" python3 "$root/tools/check-workflow.py"

step "End-to-end at 144 DPI on a scaled desktop of its own"
rm -rf "$wine_state"
desktop_env=$(PENDREL_DPI=144 timeout 300 "$root/tools/wine-desktop.sh" start "$wine_state" auto) ||
    die "Wine desktop at 144 DPI"
eval "$desktop_env"
run_ctest dpi144 --preset mingw-x86_64 -L dpi144
stop_desktop

step "Wine desktop (fresh prefix)"
rm -rf "$wine_state"
desktop_env=$(timeout 300 "$root/tools/wine-desktop.sh" start "$wine_state" auto) || die "Wine desktop"
eval "$desktop_env"
echo "$desktop_env"

step "Win32 tests and end-to-end scenarios under Wine"
# Serial on purpose: every test shares the one desktop, pointer and taskbar.
# The scenarios labelled "isolated" (they stand in for the shell, flood the
# program or soak it) run last, on a fresh desktop of their own, so that
# whatever they leave behind in the desktop cannot reach the ordinary ones.
# Those labelled "two_monitors" run later, on two monitors; those labelled
# "dpi144" ran first, on a scaled desktop; those labelled "installer" come next.
run_ctest mingw-x86_64 --preset mingw-x86_64 -LE 'isolated|two_monitors|dpi144|installer'

step "The release's setup under Wine: install, upgrade, uninstall"
# Its 64-bit twin: Wine here runs no 32-bit program.
setup=$(ls "$root"/build/release-stage/pendrel-*-setup-x64.exe 2>/dev/null | head -n 1 || true)
PENDREL_SETUP=${setup:-/no-setup-was-written} run_ctest installer --preset mingw-x86_64 -L installer
stop_desktop

step "Robustness, flood and soak scenarios on a fresh desktop"
rm -rf "$wine_state"
desktop_env=$(timeout 300 "$root/tools/wine-desktop.sh" start "$wine_state" auto) || die "Wine desktop"
eval "$desktop_env"
run_ctest robustness --preset mingw-x86_64 -L isolated

step "Artifacts"
keep_screenshots
import -window root "$artifacts/e2e/desktop-at-end.png" 2>/dev/null || true
cp "$wine_state"/*.log "$artifacts/" 2>/dev/null || true
ls "$artifacts/e2e"
stop_desktop

step "Two monitors side by side (Xorg with the dummy driver, no virtual desktop)"
# The environment of the scenarios with a taskbar on each monitor: a Win32
# program must see exactly (0,0,1024,768) primary and (1024,0,2048,768).
# The scenarios labelled "two_monitors" then run there.
rm -rf "$monitors_state"
probe_log="$artifacts/monitor-probe.txt"
: >"$probe_log"
if monitors_env=$(timeout 240 "$root/tools/two-monitor-desktop.sh" start "$monitors_state" auto 2>>"$probe_log") &&
    (eval "$monitors_env" && timeout 60 wine "$root/build/mingw-x86_64/bin/monitor_probe.exe" </dev/null) \
        2>&1 | tr -d '\r' | tee -a "$probe_log"; then
    summaries+=("two monitors: passed (artifacts/monitor-probe.txt)")
    passed_total=$((passed_total + 1))
    eval "$monitors_env"
    run_ctest two-monitors --preset mingw-x86_64 -L two_monitors
else
    summaries+=("two monitors: FAILED (artifacts/monitor-probe.txt, two-monitors-xorg.log)")
    failed_total=$((failed_total + 1))
    status=1
fi
keep_screenshots
cp "$monitors_state/xorg.log" "$artifacts/two-monitors-xorg.log" 2>/dev/null || true
stop_monitors

step "Benchmark, short pass (checks that it runs; the figures are not judged)"
if timeout 900 "$root/tools/benchmark.sh" --short --x86_64-dir "$root/build/mingw-x86_64" \
    --i686-dir "$root/build/mingw-i686" | tee "$artifacts/benchmark-short.txt"; then
    summaries+=("benchmark: ran (figures in artifacts/benchmark-short.txt)")
else
    summaries+=("benchmark: could not run")
    failed_total=$((failed_total + 1))
    status=1
fi

echo
echo "Elapsed: $(($(date +%s) - started)) s"
for line in "${summaries[@]}"; do echo "$line"; done
echo "Total: $passed_total passed, $failed_total failed"
exit "$status"
