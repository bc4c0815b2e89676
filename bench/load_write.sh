#!/bin/sh
# Times the tool's load and write inside one process, native and under Node.js side by side:
# bench/load_write.cpp, built by the native build and by the WebAssembly build (README,
# "WebAssembly"), loads a full-size 16F18324 file (bench/full_18324_hex.sh) from memory into a
# new session and builds the lines of its save, and prints microseconds for the first round and
# per round of ROUNDS rounds after as many rounds of warming up. No process start, no disk: what
# is left is the program's own work. The first round is what one run of the tool pays (under
# Node.js mostly with the quickly compiled code), the steady one what the program's code costs
# once Node.js has optimised it. The ratios are WebAssembly / native: below 2 the WebAssembly
# build costs less than twice the native one. Nothing is asserted; the numbers are for reading.
#
#   bench/load_write.sh [BUILD_DIR [WEB_BUILD_DIR]]   (default: build and build-web; ROUNDS=200)
#
# Without the WebAssembly program (or without node) only the native figure is printed.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
web=${2:-$root/build-web}
rounds=${ROUNDS:-200}
native=$build/bench/hz_load_write
wasm=$web/bench/hz_load_write.js

[ -x "$native" ] || { echo "$native is missing: build the target hz_load_write in $build first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
"$here/full_18324_hex.sh" >"$work/full.hex"

# The figures of the two lines: first round, then steady (per round).
first() { sed -n 's/.*first round: \([0-9.]*\) us$/\1/p'; }
steady() { sed -n 's/.*rounds: \([0-9.]*\) us per round$/\1/p'; }

out=$("$native" "$work/full.hex" "$rounds") || exit 1
n1=$(echo "$out" | first)
n=$(echo "$out" | steady)
printf "%-24s %12s %18s\n" "load+write" "first round" "steady, per round"
printf "%-24s %9.1f us %15.1f us   (%s rounds)\n" "native" "$n1" "$n" "$rounds"
if [ -f "$wasm" ] && command -v node >/dev/null; then
    out=$(node "$wasm" "$work/full.hex" "$rounds") || exit 1
    w1=$(echo "$out" | first)
    w=$(echo "$out" | steady)
    printf "%-24s %9.1f us %15.1f us   (Node.js %s)\n" "WebAssembly" "$w1" "$w" "$(node --version)"
    awk -v n1="$n1" -v w1="$w1" -v n="$n" -v w="$w" \
        'BEGIN { printf "%-24s %12.2f %18.2f\n", "ratio WebAssembly/native", w1 / n1, w / n }'
else
    echo "WebAssembly              -  ($wasm or node missing: see README, \"WebAssembly\")"
fi
