#!/usr/bin/env bash
# Checks that the folders under src/ include each other without a circle:
# app on top, the feature folders below it, resources at the bottom. Prints
# the folder graph and fails on a loop. Needs only coreutils (tsort).
set -euo pipefail
cd "$(dirname "$0")/../src"

edges=$(for file in */*; do
    from=${file%%/*}
    { grep -ho '^#include "[a-z_]*/' "$file" || true; } | sed 's/^#include "//; s/\/$//' | while read -r to; do
        # an if, not &&: a file whose last include is its own folder must not fail the loop
        if [ "$to" != "$from" ]; then echo "$from $to"; fi
    done
done | sort -u)

echo "$edges" | sed 's/^/  /; s/ \([a-z_]*\)$/ -> \1/'
if ! order=$(echo "$edges" | tsort 2>&1) || grep -q loop <<<"$order"; then
    echo "FAILED: the folders include each other in a circle" >&2
    echo "$order" >&2
    exit 1
fi
echo "layers, top first: $(echo "$order" | tr '\n' ' ')"
