#!/bin/sh
# The manual as the build writes it: every page is a whole HTML page in German, every link
# between its pages leads to a page that is there, and nothing is loaded from elsewhere (it
# must work without network).
#
#   manual_links.sh MANUAL_DIR
set -eu
manual=$1
fail() { echo "manual_links: $*" >&2; exit 1; }

[ -f "$manual/index.html" ] || fail "$manual/index.html fehlt"
pages=$(find "$manual" -name '*.html' | sort)
[ "$(printf '%s\n' "$pages" | wc -l)" -gt 80 ] || fail "zu wenige Seiten"
for page in $pages; do
    grep -q '<html lang="de">' "$page" || fail "$page: nicht als deutsch ausgezeichnet"
    grep -q '</html>' "$page" || fail "$page: unvollständig"
    # no scripts, no images or style sheets from elsewhere
    ! grep -qi '<script\|<img\|<iframe\|src="http\|href="http[^"]*\.css' "$page" || fail "$page: lädt etwas von außen"
    dir=$(dirname "$page")
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
