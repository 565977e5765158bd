#!/usr/bin/env bash
# The Debian package as a packager and a player meet it: built by CPack, passed
# by lintian (any error or warning fails), and holding exactly the files the
# README lists under "Installing".
#   check-package.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
for tool in lintian dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make test installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/velmora_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no .deb built"

lintian --pedantic "$deb" >"$work/lintian.log" 2>&1
grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"

[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland, qt6-translations-l10n" ] || fail "the package does not recommend qt6-wayland and Qt's translations"

# The files the README promises, braces expanded, against the package's.
readme=$(sed -n '/<!-- package files -->/,/<!-- end -->/p' "$source/README.md" | grep '^/')
expected=$(for line in $readme; do eval "printf '%s\n' $line"; done | sort)
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' | sort)
[ -n "$expected" ] || fail "the README lists no package files"
if [ "$expected" != "$actual" ]; then
    diff <(echo "$expected") <(echo "$actual")
    fail "the package's files differ from the README's list"
fi
echo "1 passed, 0 failed"
