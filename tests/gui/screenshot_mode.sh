#!/bin/sh
# `hexzwirbel --screenshot OUT FILE`, as the README's first command and bench/ use it: the
# window with the file loaded is written as a PNG, nothing is said when all is well, and with
# HZ_STARTUP_PHASES set the start-up steps are listed in the order bench/compare_processes.sh
# reads them. A file that cannot be read still gives a picture, with the reason on stderr.
# --help and --version answer without a window. --draw draws a menu open or the window a menu
# entry opens (the manual's pictures), and says so when it cannot.
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

# --help and --version print and end without a window (no display needed), an unknown option
# is refused in one line instead of being opened as a file
env -u QT_QPA_PLATFORM DISPLAY= "$exe" --help >"$tmp/help.out" || fail "--help: exit status $?"
grep -q '^Aufruf: hexzwirbel \[DATEI.hex\]' "$tmp/help.out" || fail "--help: $(cat "$tmp/help.out")"
grep -q 'HZ_STARTUP_PHASES' "$tmp/help.out" || fail "--help does not name HZ_STARTUP_PHASES"
version=$(env -u QT_QPA_PLATFORM DISPLAY= "$exe" --version) || fail "--version: exit status $?"
echo "$version" | grep -Eq '^hexzwirbel [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version: $version"
status=0
"$exe" --bogus 2>"$tmp/bogus.err" || status=$?
[ "$status" -eq 2 ] || fail "--bogus: exit status $status"
[ "$(wc -l <"$tmp/bogus.err")" -eq 1 ] && grep -q '^hexzwirbel: Fehler: Unbekannte Option --bogus\.' "$tmp/bogus.err" ||
    fail "--bogus: $(cat "$tmp/bogus.err")"

# --draw: a menu hangs below the menu bar, on top of the window's picture; an entry that opens a
# window gives that window's picture. The user's settings file is not read (XDG_CONFIG_HOME).
mkdir -p "$tmp/config/hexzwirbel"
printf '[Window]\nWidth=1400\n' >"$tmp/config/hexzwirbel/hexzwirbel.ini"
XDG_CONFIG_HOME="$tmp/config" "$exe" --screenshot "$tmp/wide.png" || fail "with a settings file: exit status $?"
"$exe" --screenshot "$tmp/empty.png" || fail "empty window: exit status $?"
cmp -s "$tmp/wide.png" "$tmp/empty.png" || fail "the settings file changed the picture"
"$exe" --screenshot "$tmp/plain.png" "$examples/stellino_12f629.hex"
"$exe" --screenshot "$tmp/menu.png" --draw menu_file "$examples/stellino_12f629.hex" 2>"$tmp/menu.err" ||
    fail "--draw menu_file: $(cat "$tmp/menu.err")"
"$file" "$tmp/menu.png" | grep -q 'PNG image data' || fail "--draw menu_file: no PNG"
cmp -s "$tmp/menu.png" "$tmp/plain.png" && fail "--draw menu_file: no menu drawn"
"$exe" --screenshot "$tmp/overview.png" --draw "act_overview=$examples" 2>"$tmp/overview.err" ||
    fail "--draw act_overview: $(cat "$tmp/overview.err")"
"$file" "$tmp/overview.png" | grep -q 'PNG image data, 980 x 600' || fail "--draw act_overview: $("$file" "$tmp/overview.png")"
for case in "act_compare=$examples/stellino_12f629.hex|1|nicht verfügbar" "act_nothing|1|keinen Menüeintrag" \
    "act_next|1|kein Fenster"; do
    part=${case%%|*}; rest=${case#*|}; want=${rest%%|*}; says=${rest#*|}
    status=0
    "$exe" --screenshot "$tmp/none.png" --draw "$part" 2>"$tmp/none.err" || status=$?
    [ "$status" -eq "$want" ] || fail "--draw $part: exit status $status"
    grep -q "^hexzwirbel: Fehler: .*$says" "$tmp/none.err" || fail "--draw $part: $(cat "$tmp/none.err")"
done
status=0
"$exe" --draw menu_file 2>"$tmp/alone.err" || status=$?
[ "$status" -eq 2 ] && grep -q 'nur mit --screenshot' "$tmp/alone.err" || fail "--draw alone: $status $(cat "$tmp/alone.err")"

printf ':10000000FFFFFFFF\n' >"$tmp/broken.hex"
"$exe" --screenshot "$tmp/broken.png" "$tmp/broken.hex" 2>"$tmp/broken.err" || fail "exit status $? for an unreadable file"
[ -s "$tmp/broken.err" ] || fail "an unreadable file gave no message"
"$file" "$tmp/broken.png" | grep -q 'PNG image data' || fail "no picture for an unreadable file"
echo ok
