#!/bin/sh
# Times the tool's load and write inside one process, native and under Node.js side by side:
# bench/load_write.cpp, built by the native build and by the WebAssembly build (README,
# "WebAssembly"), loads a full-size 16F18324 file (bench/full_18324_hex.sh) from memory into a
# new session and builds the lines of its save, ROUNDS times, and prints microseconds per round.
# No process start, no disk: what is left is the program's own work. The ratio is WebAssembly /
# native: below 2 the WebAssembly build costs less than twice the native one. Nothing is
# asserted; the numbers are for reading.
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

# The figure of one "load+write N rounds: T us per round" line.
figure() { sed -n 's/.*: \([0-9.]*\) us per round$/\1/p'; }

out=$("$native" "$work/full.hex" "$rounds") || exit 1
n=$(echo "$out" | figure)
printf "load+write native       %9.1f us per round (%s rounds)\n" "$n" "$rounds"
if [ -f "$wasm" ] && command -v node >/dev/null; then
    out=$(node "$wasm" "$work/full.hex" "$rounds") || exit 1
    w=$(echo "$out" | figure)
    printf "load+write WebAssembly  %9.1f us per round (Node.js %s)\n" "$w" "$(node --version)"
    awk -v n="$n" -v w="$w" 'BEGIN { printf "ratio WebAssembly / native %.2f\n", w / n }'
else
    echo "load+write WebAssembly  -  ($wasm or node missing: see README, \"WebAssembly\")"
fi
