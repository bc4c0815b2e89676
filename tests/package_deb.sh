#!/bin/sh
# Builds the Debian package with CPack into a scratch folder and checks what a fresh Debian 12
# needs of it: the programs, desktop entry, icon, file type and manuals at their places under
# /usr, and run-time dependencies on the Qt 6 libraries the window links (found by
# dpkg-shlibdeps), so that apt pulls them in.
#
#   package_deb.sh CPACK BUILD_DIR SCRATCH
set -eu
cpack=$1 build=$2 scratch=$3

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
         ./usr/share/man/man1/hexzwirbel-cli.1.gz ./usr/share/man/man1/hexzwirbel.1.gz; do
    echo "$contents" | grep -q " $f\$" || fail "$f fehlt im Paket"
done
rm -rf "$scratch"
echo "package_deb: ok ($depends)"
