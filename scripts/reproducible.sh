#!/usr/bin/env bash
# The Debian package of the last commit, built twice in two folders of
# different names with the same SOURCE_DATE_EPOCH (the commit's time): the
# two must be the same to the bit.
set -euo pipefail
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
debs=()
for folder in a "second build folder"; do
    git clone -q "$top" "$work/$folder"
    cmake -S "$work/$folder" -B "$work/$folder/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$work/$folder/build" -j"${JOBS:-2}" >/dev/null
    (cd "$work/$folder/build" && cpack >/dev/null)
    debs+=("$(ls "$work/$folder"/build/velmora_*.deb)")
done
if cmp "${debs[@]}"; then
    echo "reproducible: $(basename "${debs[0]}") is the same to the bit from both folders ($(sha256sum <"${debs[0]}" | cut -c1-16))"
else
    echo "FAIL: the two packages differ"
    exit 1
fi
