#!/usr/bin/env bash
# How ctest runs a Windows test program: under wine. Now and then the wine
# launcher fails at once, before the program has printed anything (about one
# start in several hundred on these machines); such a start is made again,
# once. A program that printed anything, or ran for a second, is never run
# again: its result stands.
set -uo pipefail
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
    start=$(date +%s%N)
    wine "$@" | tee "$out"
    rc=${PIPESTATUS[0]}
    elapsed_ms=$((($(date +%s%N) - start) / 1000000))
    if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && [ "$elapsed_ms" -lt 1000 ] && [ "$attempt" -eq 1 ]; then
        echo "wine-emulator: the launcher ended at once with exit $rc and no output; starting it again" >&2
        continue
    fi
    break
done
exit "$rc"
