#!/usr/bin/env bash
# Builds Qt for Windows (x86_64, MinGW-w64) from Debian's own source of the host's Qt, once.
# The result lives in a cache folder outside the tree, named for the version and options, and
# is reused by every later run; its path is printed last. The host Qt's moc, rcc and uic do the
# code generation (QT_HOST_PATH), so only the Windows libraries and plugins are compiled.
#
# The source is fetched with apt-get source through a sources list of this script's own, made
# from the machine's configured Debian mirrors: the system's apt configuration is not touched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
jobs=${JOBS:-2}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
# Debian's source has no src/3rdparty/wintab, so tablet events are off; the Windows platform
# plugin of 6.4.2 needs OpenGL to compile, so OpenGL stays (dynamic, Qt's default there).
options=(-DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
         -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
         -DFEATURE_zstd=OFF -DFEATURE_sql_sqlite=OFF)
tag=$(printf '%s\n' "${options[@]}" | sha1sum | cut -c1-8)
cache=${VELMORA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora-windows}
prefix=$cache/qt-$upstream-win32-g++-release-shared-$tag
if [ -f "$prefix/.built" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/work-$upstream
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources.d"
# deb-src twins of every Debian entry the machine uses, one-line and deb822 alike.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' "$f"
done >"$work/apt/sources.d/machine.list"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types:.*$/Types: deb-src/' "$f" && echo
done >"$work/apt/sources.d/machine.sources"
cat >"$work/apt/apt.conf" <<CONF
Dir::Etc::SourceList "/nonexistent";
Dir::Etc::SourceParts "$work/apt/sources.d";
Dir::State::Lists "$work/apt/lists";
Dir::Cache "$work/apt/cache";
CONF
export APT_CONFIG=$work/apt/apt.conf

src=$work/qt6-base-$upstream
if [ ! -f "$src/CMakeLists.txt" ]; then
    echo "== fetching qt6-base $version (source)" >&2
    apt-get update -qq -o APT::Sandbox::User=root
    rm -rf "$work/src" && mkdir -p "$work/src"
    (cd "$work/src" && apt-get source -qq -o APT::Sandbox::User=root "qt6-base=$version")
    rm -rf "$src" && mv "$work/src"/qt6-base-"$upstream"* "$src"
fi

echo "== configuring Qt $upstream for win32-g++" >&2
build=$work/build-$tag
cmake -S "$src" -B "$build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ "${options[@]}" >"$work/configure-$tag.log"
echo "== building Qt (about 20 minutes on two cores)" >&2
cmake --build "$build" --parallel "$jobs" >"$work/build-$tag.log"
cmake --install "$build" >"$work/install-$tag.log"
cp -r "$src/LICENSES" "$prefix/licenses" # shipped with the program
rm -rf "$build"                           # 2 GB
touch "$prefix/.built"
echo "$prefix"
