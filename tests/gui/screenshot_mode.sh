#!/bin/sh
# `hexzwirbel --screenshot OUT FILE`, as the README's first command and bench/ use it: the
# window with the file loaded is written as a PNG, nothing is said when all is well, and with
# HZ_STARTUP_PHASES set the start-up steps are listed in the order bench/compare_processes.sh
# reads them. A file that cannot be read still gives a picture, with the reason on stderr.
set -eu
exe="$1"; examples="$2"; file="$3"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset HZ_STARTUP_PHASES || true
fail() { echo "$*" >&2; exit 1; }

"$exe" --screenshot "$tmp/quiet.png" "$examples/relais_16f684_dcc.hex" 2>"$tmp/quiet.err"
[ ! -s "$tmp/quiet.err" ] || fail "unexpected output on stderr: $(cat "$tmp/quiet.err")"
"$file" "$tmp/quiet.png" | grep -q 'PNG image data, [0-9]* x [0-9]*' || fail "no PNG written"

HZ_STARTUP_PHASES=1 "$exe" --screenshot "$tmp/phases.png" "$examples/relais_16f684_dcc.hex" 2>"$tmp/phases.err"
names=$(awk '$1 == "phase" { printf "%s ", $2 }' "$tmp/phases.err")
[ "$names" = "application window load render png " ] || fail "phases listed: '$names'"
# each mark is later than the one before
awk '$1 == "phase" { if ($3 + 0 < last) bad = 1; last = $3 + 0 } END { exit bad }' "$tmp/phases.err" ||
    fail "phase times go back: $(cat "$tmp/phases.err")"
cmp -s "$tmp/quiet.png" "$tmp/phases.png" || fail "listing the phases changed the picture"

printf ':10000000FFFFFFFF\n' >"$tmp/broken.hex"
"$exe" --screenshot "$tmp/broken.png" "$tmp/broken.hex" 2>"$tmp/broken.err" || fail "exit status $? for an unreadable file"
[ -s "$tmp/broken.err" ] || fail "an unreadable file gave no message"
"$file" "$tmp/broken.png" | grep -q 'PNG image data' || fail "no picture for an unreadable file"
echo ok
