#!/usr/bin/env bash
# make windows: Qt for Windows (built once, cached: build-qt.sh), then
# velmora.exe against it, the folder a player gets (the program, the DLLs it
# loads, Qt's Windows platform and style plugins, the faces, the licences),
# packed as build-windows/velmora-VERSION-windows-x86_64.zip and as the
# installer build-windows/velmora-VERSION-setup.exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
here=scripts/windows
out=${BUILD_WINDOWS:-build-windows}
jobs=${JOBS:-2}

qt=$("$here/build-qt.sh" | tail -n 1)
# Qt's own toolchain file adds its folder to where the cross build looks,
# then loads ours.
cmake -S . -B "$out" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/$here/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/$here/wine-test.sh" >/dev/null
cmake --build "$out" -j"$jobs"

version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=velmora-$version
stage=$out/stage/$name
rm -rf "$out/stage" && mkdir -p "$stage"
cmake --install "$out" --prefix "$stage" --strip >/dev/null
mkdir -p "$stage/platforms" "$stage/styles"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"

# Every DLL the program and its plugins load that Windows itself does not
# have: Qt's, and the MinGW runtime's.
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=("$stage/velmora.exe" "$stage/platforms/qwindows.dll" "$stage/styles/qwindowsvistastyle.dll")
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}; queue=("${queue[@]:1}")
    for dll in $(imports "$file"); do
        [ -e "$stage/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -e "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                queue+=("$stage/$dll")
                break
            fi
        done
    done
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.dll "$stage"/*/*.dll

# Licences of what is shipped: Qt's (LGPL-3.0), the MinGW runtime's (GCC's
# runtime exception, winpthreads' MIT), beside the program's and Culmus'.
cp "$qt/licenses/LGPL-3.0-only.txt" "$stage/licences/qt-LGPL-3.0-only.txt"
cp "$qt/licenses/GPL-3.0-only.txt" "$stage/licences/qt-GPL-3.0-only.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/mingw-gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licences/mingw-w64-winpthreads.txt"
# A file the installer's uninstaller removes, and nothing else: its list.
(cd "$stage" && find . -type f | sed 's|^\./||' | sort) >"$out/stage/files.txt"

# The same bytes for the same files: fixed order and times.
rm -f "$out/$name-windows-x86_64.zip"
(cd "$out/stage" && find "$name" | sort | TZ=UTC touch -h -d @0 -- $(cat) 2>/dev/null || true)
(cd "$out/stage" && find "$name" -type f | sort | zip -q -X -9 "../$name-windows-x86_64.zip" -@)

/usr/bin/python3 "$here/nsis-files.py" "$out/stage/files.txt" "$out/stage/install.nsh" "$out/stage/uninstall.nsh"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DLISTS="$PWD/$out/stage" \
    -DICON="$PWD/$out/velmora.ico" -DOUT="$PWD/$out/$name-setup.exe" packaging/windows/installer.nsi
ls -l "$out/$name-windows-x86_64.zip" "$out/$name-setup.exe"
