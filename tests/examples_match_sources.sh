#!/bin/sh
# The demo firmware files must be exactly what their sources assemble to.
set -e
gpasm="$1"; src="$2"; tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for asm in "$src"/examples/*.asm; do
  name=$(basename "$asm" .asm)
  (cd "$tmp" && "$gpasm" -q -w 2 -o "$name.hex" "$asm")
  cmp "$tmp/$name.hex" "$src/examples/$name.hex" || { echo "examples/$name.hex differs from its source"; exit 1; }
done
