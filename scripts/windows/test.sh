#!/usr/bin/env bash
# make test-windows: the offscreen suites, cross-built, under Wine; then the
# installer and the zip under Wine on a display of their own (Xvfb, openbox),
# driven as a player would (tests/windows/wine_game.py). The grabs go to
# docs/windows/. Runs in a Wine prefix of its own, removed at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${BUILD_WINDOWS:-build-windows}
qt=$(scripts/windows/build-qt.sh | tail -n 1)
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
WINEPREFIX=$(mktemp -d)/prefix
export WINEPREFIX WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
wineboot --init >/dev/null 2>&1
wine --version

# Qt's DLLs and plugins from where they were built, the MinGW runtime beside them.
winpath() { winepath -w "$1" 2>/dev/null; }
WINEPATH="$(winpath "$qt/bin");$(winpath "$(echo /usr/lib/gcc/x86_64-w64-mingw32/*-posix)");$(winpath /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
# (Qt finds its plugins beside the DLLs; Wine would not pass QT_PLUGIN_PATH on.)
(cd "$out" && ctest --output-on-failure -j"${JOBS:-2}")

unset WINEPATH
# Wine's desktop process, started with no display for the suites, would keep
# the program's windows off the display.
wineserver -k 2>/dev/null || true
mkdir -p docs/windows
tests/x11/run-on-display.sh /usr/bin/python3 tests/windows/wine_game.py \
    "$out/velmora-$version-setup.exe" "$out/velmora-$version-windows-x86_64.zip" docs/windows
