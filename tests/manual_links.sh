#!/bin/sh
# The manual as the build writes it: every page is a whole HTML page in German, every link
# between its pages leads to a page that is there, and nothing is loaded from elsewhere (it
# must work without network). The pictures the build draws of the window are there, each one
# a PNG.
#
#   manual_links.sh MANUAL_DIR [no-pictures]
#
# With "no-pictures" (a build without the window) the pictures are not looked for.
set -eu
manual=$1
pictures=${2:-}
fail() { echo "manual_links: $*" >&2; exit 1; }

[ -f "$manual/index.html" ] || fail "$manual/index.html fehlt"
pages=$(find "$manual" -name '*.html' | sort)
[ "$(printf '%s\n' "$pages" | wc -l)" -gt 80 ] || fail "zu wenige Seiten"
for page in $pages; do
    grep -q '<html lang="de">' "$page" || fail "$page: nicht als deutsch ausgezeichnet"
    grep -q '</html>' "$page" || fail "$page: unvollständig"
    # no scripts, no images or style sheets from elsewhere
    ! grep -qi '<script\|<iframe\|<object\|src="[a-z]*:\|src="//\|href="http[^"]*\.css' "$page" ||
        fail "$page: lädt etwas von außen"
    dir=$(dirname "$page")
    if grep -q '<img' "$page"; then
        ! grep -o '<img [^>]*>' "$page" | grep -qv ' alt="[^"]' || fail "$page: ein Bild ohne alt-Text"
        for picture in $(grep -o '<img [^>]*>' "$page" | grep -o 'src="[^"]*"' | sed 's/src="//; s/"$//'); do
            [ "$pictures" = no-pictures ] && continue
            [ -s "$dir/$picture" ] || fail "$page: Bild $picture fehlt"
            [ "$(head -c 8 "$dir/$picture" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
                fail "$page: $picture ist kein PNG-Bild"
        done
    fi
    for target in $(grep -o 'href="[^"#]*"' "$page" | sed 's/href="//; s/"$//'); do
        case $target in
        http://* | https://* | mailto:*) continue ;;
        esac
        [ -f "$dir/$target" ] || fail "$page: Verweis auf $target führt ins Leere"
    done
done
# The index reaches every type page.
grep -q 'href="typen/index.html"' "$manual/index.html" || fail "index.html verweist nicht auf die Dekodertypen"
for type in "$manual"/typen/0x*.html; do
    grep -q "href=\"$(basename "$type")\"" "$manual/typen/index.html" || fail "$type fehlt in der Liste"
done
echo "manual_links: ok"
