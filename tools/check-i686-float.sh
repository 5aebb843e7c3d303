#!/usr/bin/env bash
# Fails unless the 32-bit build computes the average rate in SSE2 double
# arithmetic. On the x87 stack 32-bit GCC keeps intermediates in 80-bit
# precision, and the rate's hundredths, truncated from (rate - whole) * 100,
# can then differ from the 64-bit build's.
#   tools/check-i686-float.sh [build-dir]    default: build/mingw-i686
#
# Loads, stores and integer loads on the x87 stack are allowed: a 64-bit integer
# has no SSE2 conversion in 32-bit code, so GCC converts it with fild and stores
# it with fstp, which rounds once to double exactly as cvtsi2sd would. Any other
# x87 instruction computes, compares or converts in extended precision.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/mingw-i686}
objdump=i686-w64-mingw32-objdump

fail() { echo "i686 float check FAILED: $*" >&2; exit 1; }

command -v "$objdump" >/dev/null || fail "$objdump not found"
mapfile -t objects < <(find "$build" -path '*/src/about/rate.cpp.obj' -type f 2>/dev/null)
[ "${#objects[@]}" -eq 1 ] || fail "expected one object of src/about/rate.cpp under $build, found ${#objects[@]}"
object=${objects[0]}
[ -s "$object" ] || fail "$object is empty"

listing=$("$objdump" -d --no-show-raw-insn "$object") || fail "$objdump could not read $object"
grep -q 'averageRate' <<<"$listing" || fail "no averageRate in $object"

# The mnemonic of each instruction line: "  addr:<TAB>mnemonic operands".
mnemonics=$(awk -F'\t' '/^ *[0-9a-f]+:\t/ { split($2, word, " "); print word[1] }' <<<"$listing")
[ -n "$mnemonics" ] || fail "no instructions disassembled from $object"

x87=$(grep -E '^f' <<<"$mnemonics" |
    grep -v -x -E 'fldz|fld1|fld[slt]?|fild[sl]?|fildll|fildq|fst[slt]?|fstp[slt]?|fxch' || true)
if [ -n "$x87" ]; then
    echo "x87 arithmetic in $object:" >&2
    sort <<<"$x87" | uniq -c >&2
    fail "build the i686 program with -msse2 -mfpmath=sse"
fi

# The rate is computed at all, and in SSE2: a subtraction, a product and a
# truncation to an integer, each on doubles.
for wanted in subsd mulsd cvttsd2si; do
    grep -q -x "$wanted" <<<"$mnemonics" || fail "no $wanted in $object"
done
echo "i686 float check: $(basename "$object") computes in SSE2, no x87 arithmetic"
