#!/bin/sh
# Installs the build into a fresh staging folder, as `cmake --install` does for a user, and
# checks that it holds a desktop program: both programs in bin/ and running, a desktop entry
# that desktop-file-validate accepts and whose program and icon are installed, the icon, the
# Intel HEX file type that the entry opens, and manual pages that troff reads without warning.
#
#   install_tree.sh CMAKE BUILD_DIR STAGING GUI(ON|OFF)
set -eu
cmake=$1 build=$2 staging=$3 gui=$4

fail() { echo "install_tree: $*" >&2; exit 1; }

rm -rf "$staging"
"$cmake" --install "$build" --prefix "$staging" >/dev/null

bin=$staging/bin
share=$staging/share
[ -x "$bin/hexzwirbel-cli" ] || fail "bin/hexzwirbel-cli fehlt"
"$bin/hexzwirbel-cli" --help | grep -q "migrate ALT NEU" || fail "hexzwirbel-cli aus bin/ läuft nicht"
if [ "$gui" = ON ]; then
    [ -x "$bin/hexzwirbel" ] || fail "bin/hexzwirbel fehlt"
fi

desktop=$share/applications/hexzwirbel.desktop
[ -f "$desktop" ] || fail "Desktop-Eintrag fehlt"
desktop-file-validate "$desktop" || fail "desktop-file-validate lehnt $desktop ab"
grep -qx 'Name=HEX Zwirbel' "$desktop" || fail "Name fehlt"
grep -q '^Comment=.*Dekoder' "$desktop" || fail "deutscher Kommentar fehlt"
grep -q '^Categories=.*Electronics;' "$desktop" || fail "Kategorie Electronics fehlt"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ "$gui" = OFF ] || [ -x "$bin/$exec" ] || fail "Exec=$exec ist nicht installiert"
icon=$(sed -n 's/^Icon=//p' "$desktop")
svg=$share/icons/hicolor/scalable/apps/$icon.svg
[ -f "$svg" ] || fail "Symbol $icon.svg fehlt"
grep -q '<polyline' "$svg" || fail "im Symbol fehlt die Spirale"

# The file type: the entry's MimeType is the one the package defines, for *.hex.
mime=$(sed -n 's/^MimeType=\([^;]*\);.*/\1/p' "$desktop")
xml=$share/mime/packages/hexzwirbel.xml
grep -q "<mime-type type=\"$mime\">" "$xml" || fail "$xml definiert $mime nicht"
grep -q '<glob pattern="\*\.hex"/>' "$xml" || fail "$xml ordnet *.hex nicht zu"
if command -v update-mime-database >/dev/null; then
    # Built into a scratch copy: the database must take the definition as it stands.
    scratch=$staging/mime-check
    mkdir -p "$scratch/packages"
    cp "$xml" "$scratch/packages/"
    XDG_DATA_HOME=$staging XDG_DATA_DIRS=$staging update-mime-database "$scratch" 2>"$scratch.err" || fail "update-mime-database: $(cat "$scratch.err")"
    [ ! -s "$scratch.err" ] || fail "update-mime-database warnt: $(cat "$scratch.err")"
    grep -q "^$mime:\*\.hex" "$scratch/globs2" 2>/dev/null || grep -q "\*\.hex" "$scratch/globs2" ||
        fail "*.hex steht nicht in der Datenbank"
    rm -rf "$scratch" "$scratch.err"
fi

# The manual that F1 opens, with the type pages the build wrote, beside bin/ as the program
# looks for it.
manual=$share/hexzwirbel/handbuch
[ -f "$manual/index.html" ] || fail "Handbuch fehlt: $manual/index.html"
[ -f "$manual/typen/index.html" ] && [ -f "$manual/typen/0x208.html" ] || fail "Seiten der Dekodertypen fehlen"
if [ "$gui" = ON ]; then
    [ -s "$manual/bilder/fenster.png" ] || fail "Bilder des Handbuchs fehlen"
fi
"$bin/hexzwirbel-cli" info "$(dirname "$0")/../examples/stellino_12f629.hex" | grep -q "Doku: *$manual/typen/0x" ||
    fail "hexzwirbel-cli info nennt die Seite im installierten Handbuch nicht"

for page in hexzwirbel-cli hexzwirbel; do
    man=$share/man/man1/$page.1.gz
    [ -f "$man" ] || fail "Handbuchseite $page.1.gz fehlt"
    warnings=$(gzip -dc "$man" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done
# Every command of the tool has its entry in the manual.
commands=$("$bin/hexzwirbel-cli" --help | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p; s/^  \([a-z][a-z]*\)$/\1/p')
[ -n "$commands" ] || fail "keine Befehle in --help"
for c in $commands; do
    gzip -dc "$share/man/man1/hexzwirbel-cli.1.gz" | grep -q "^\.B[IR]* \"*$c[ \"]" ||
        gzip -dc "$share/man/man1/hexzwirbel-cli.1.gz" | grep -q "^\.B[IR]* $c\$" ||
        fail "Befehl $c fehlt in hexzwirbel-cli.1"
done
# The PDF module where the installed tool looks for it, relative to its own folder.
for module in "$staging"/lib*/hexzwirbel/modules/hexzwirbel-sheet-pdf.so "$staging"/lib/*/hexzwirbel/modules/hexzwirbel-sheet-pdf.so; do
    [ -f "$module" ] || continue
    env -u DISPLAY -u WAYLAND_DISPLAY "$bin/hexzwirbel-cli" sheet "$share/doc/hexzwirbel/examples/servo_16f684.hex" \
        --pdf "$staging/blatt.pdf" || fail "sheet --pdf aus bin/ findet $module nicht"
    [ "$(head -c 4 "$staging/blatt.pdf")" = "%PDF" ] || fail "sheet --pdf schreibt kein PDF"
done
rm -rf "$staging"
echo "install_tree: ok"
