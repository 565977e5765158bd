#!/usr/bin/env bash
# What a software centre reads: the metainfo validates with nothing to say,
# and a catalogue composed from the installed tree holds the component and
# its icon.   check-appstream.sh BUILD_DIR SOURCE_DIR APP_ID
set -u
build=$1
source=$2
id=$3
command -v appstreamcli >/dev/null || { echo "SKIP: appstreamcli is not installed (make test installs it)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

out=$(appstreamcli validate --pedantic --no-net --no-color "$source/packaging/$id.metainfo.xml" 2>&1)
[ "$(echo "$out" | grep -v '^$')" = "✔ Validation was successful." ] || { echo "$out"; fail "the metainfo has findings"; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null || fail "install"
appstreamcli compose --no-color --origin=velmora --result-root="$work/out" --data-dir="$work/out/data" \
    "$work/root" >"$work/compose.log" 2>&1 || { cat "$work/compose.log"; fail "compose"; }
catalogue=$(zcat "$work/out/data/velmora.xml.gz" 2>/dev/null)
echo "$catalogue" | grep -q "<id>$id</id>" || { cat "$work/compose.log"; fail "the catalogue lacks the component"; }
echo "$catalogue" | grep -q "<icon type=\"cached\" width=\"64\" height=\"64\">$id.png</icon>" \
    || fail "the catalogue lacks the 64 px icon"
[ -f "$work/out/usr/share/swcatalog/icons/velmora/64x64/$id.png" ] || fail "no icon in the catalogue's cache"
echo "1 passed, 0 failed"
