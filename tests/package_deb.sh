#!/bin/sh
# Builds the Debian package with CPack into a scratch folder and checks what a fresh Debian 12
# needs of it: the programs, desktop entry, icon, file type, manuals, bash completion and
# documentation at their places under /usr, run-time dependencies on the Qt 6 libraries the
# window links (found by dpkg-shlibdeps), so that apt pulls them in, links of the installed
# READMEs that lead to installed files, and lintian without errors or warnings.
#
#   package_deb.sh CPACK BUILD_DIR SCRATCH LINTIAN
set -eu
cpack=$1 build=$2 scratch=$3 lintian=$4

fail() { echo "package_deb: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$scratch/cpack.log")"
deb=$(ls "$scratch"/hexzwirbel_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "kein .deb gebaut: $(cat "$scratch/cpack.log")"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
    echo "$depends" | grep -q "$lib" || fail "Depends ohne $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = hexzwirbel ] || fail "Paketname"
dpkg-deb -f "$deb" Recommends | grep -q qt6-translations-l10n || fail "Recommends ohne qt6-translations-l10n"

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/hexzwirbel ./usr/bin/hexzwirbel-cli ./usr/share/applications/hexzwirbel.desktop \
         ./usr/share/icons/hicolor/scalable/apps/hexzwirbel.svg ./usr/share/mime/packages/hexzwirbel.xml \
         ./usr/share/man/man1/hexzwirbel-cli.1.gz ./usr/share/man/man1/hexzwirbel.1.gz \
         ./usr/share/bash-completion/completions/hexzwirbel-cli \
         ./usr/share/doc/hexzwirbel/copyright ./usr/share/doc/hexzwirbel/changelog.gz \
         ./usr/share/doc/hexzwirbel/README.md ./usr/share/doc/hexzwirbel/README.de.md \
         ./usr/share/hexzwirbel/handbuch/index.html ./usr/share/hexzwirbel/handbuch/typen/0x208.html; do
    echo "$contents" | grep -q " $f\$" || fail "$f fehlt im Paket"
done

# The version of the package is the one its manuals and changelog name.
version=$(dpkg-deb -f "$deb" Version)
tree=$scratch/tree
dpkg-deb -x "$deb" "$tree"
for page in hexzwirbel hexzwirbel-cli; do
    th=$(gzip -dc "$tree/usr/share/man/man1/$page.1.gz" | grep '^\.TH')
    case $page:$th in
    *"\"HEX Zwirbel $version\""*) ;;
    *) fail "$page.1 nennt nicht die Version $version: $th" ;;
    esac
done
gzip -dc "$tree/usr/share/doc/hexzwirbel/changelog.gz" | head -n 1 | grep -q "^hexzwirbel ($version) " ||
    fail "changelog beginnt nicht mit Version $version"

# Every relative link of the installed Markdown files leads to a file in the package.
for md in "$tree"/usr/share/doc/hexzwirbel/*.md "$tree"/usr/share/doc/hexzwirbel/*/*.md; do
    [ -f "$md" ] || continue
    for link in $(grep -o '\](\([^)#]*\)' "$md" | sed 's/^](//' | grep -v '^[a-z]*:' | sort -u); do
        [ -e "$(dirname "$md")/$link" ] || fail "${md#"$tree"} verweist auf $link, das nicht im Paket ist"
    done
done

# lintian: no error and no warning. A tag we cannot mend goes into `suppress` (comma-separated),
# with its reason in a comment above it; everything else fails the test. None so far.
suppress=""
"$lintian" --fail-on error,warning --tag-display-limit 0 ${suppress:+--suppress-tags "$suppress"} "$deb" \
    >"$scratch/lintian.log" 2>&1 || fail "lintian: $(cat "$scratch/lintian.log")"
echo "package_deb: ok ($depends)"
cat "$scratch/lintian.log"
rm -rf "$scratch"
