#!/usr/bin/env bash
# Installs the build into a scratch root and checks what a desktop finds there:
# the program, its menu entry, its icons at both sizes and its AppStream data.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
usr="$root/usr"
[ -x "$usr/bin/velmora" ] || fail "no executable bin/velmora"
desktop="$usr/share/applications/velmora.desktop"
[ -f "$desktop" ] || fail "no menu entry"
for line in 'Type=Application' 'Name=Velmora' 'Exec=velmora' 'Icon=velmora' 'Terminal=false'; do
    grep -qx "$line" "$desktop" || fail "menu entry lacks $line"
done
grep -q '^Categories=.*Game;' "$desktop" || fail "menu entry is not in the Game category"
for size in 16 32; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/velmora.png"
    [ -f "$icon" ] || fail "no ${size}px icon"
    # PNG width and height, big-endian, at bytes 16 to 23.
    dims=$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ')
    [ "$dims" = " 0 0 0 $size 0 0 0 $size" ] || fail "${size}px icon is not ${size}x${size}: $dims"
done
metainfo="$usr/share/metainfo/velmora.metainfo.xml"
[ -f "$metainfo" ] || fail "no AppStream metainfo"
grep -q '<launchable type="desktop-id">velmora.desktop</launchable>' "$metainfo" || fail "metainfo does not launch the menu entry"
grep -q "<release version=\"$2\"" "$metainfo" || fail "metainfo does not list release $2"
echo "1 passed, 0 failed"
