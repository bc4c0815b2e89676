#!/bin/sh
# Installs the Debian package into a fresh, minimal Debian 12 and runs both programs there:
# the check that the package pulls in everything it needs. Needs root, debootstrap and the
# network to Debian's mirror (a few minutes; not part of the test run for that reason).
#
#   dist/try_on_fresh_debian.sh [BUILD_DIR]    (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'umount "$work/debian/proc" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/deb/hexzwirbel_*.deb)
debootstrap --variant=minbase bookworm "$work/debian" http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; exit 1; }
cp "$deb" "$root/examples/relais_16f684_dcc.hex" "$work/debian/tmp/"
cp /etc/resolv.conf "$work/debian/etc/resolv.conf"
mount --bind /proc "$work/debian/proc"
chroot "$work/debian" sh -eu -c '
    apt-get update >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y /tmp/'"$(basename "$deb")"' >/dev/null
    hexzwirbel-cli info /tmp/relais_16f684_dcc.hex
    mkdir -m 700 -p /tmp/runtime && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/runtime hexzwirbel --screenshot /tmp/shot.png /tmp/relais_16f684_dcc.hex
    test -s /tmp/shot.png
    test -f /usr/share/applications/hexzwirbel.desktop
    test -f /usr/share/icons/hicolor/scalable/apps/hexzwirbel.svg
    test -f /usr/share/mime/packages/hexzwirbel.xml
'
echo "Das Paket installiert sich auf einem frischen Debian 12; beide Programme laufen dort."
