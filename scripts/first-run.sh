#!/usr/bin/env bash
# A rehearsal of a newcomer's first `make test`, to run before trusting a
# change: the last commit cloned into a new folder and tested there as on a
# new machine. No ctest cost data (a new build folder has none, so the suites
# start in the order they are declared), page caches dropped where this user
# may, and the caches and settings of the tools the tests start (~/.cache,
# ~/.config, ~/.local, the window managers' own folders) moved aside for the
# run and put back after. Prints the time of each suite.
#   scripts/first-run.sh [--busy] [RUNS]
#     --busy  both cores kept busy by other work all the while
#     RUNS    rehearsals in a row (1); it stops at the first that fails
# A rehearsal that fails keeps its folder: the log, and the grabs of the failed
# real-window cases under build/Testing/real-window.
set -euo pipefail

busy=false
if [ "${1:-}" = "--busy" ]; then
    busy=true
    shift
fi
runs=${1:-1}
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
aside=""
hogs=()

put_back() {
    for pid in "${hogs[@]}"; do kill "$pid" 2>/dev/null || true; done
    if [ -n "$aside" ]; then
        for entry in "$aside"/*; do
            [ -e "$entry" ] || continue
            name=$(basename "$entry")
            rm -rf "${HOME:?}/.$name"
            mv "$entry" "$HOME/.$name"
        done
        rmdir "$aside"
        aside=""
    fi
}
trap put_back EXIT
trap 'exit 130' INT TERM

drop_page_caches() {
    sync
    if [ -w /proc/sys/vm/drop_caches ]; then
        echo 3 >/proc/sys/vm/drop_caches && return
    elif sudo -n true 2>/dev/null; then
        echo 3 | sudo -n tee /proc/sys/vm/drop_caches >/dev/null && return
    fi
    echo "(page caches not dropped: not permitted for this user)"
}

move_aside() {
    aside=$(mktemp -d "$HOME/.velmora-first-run-aside.XXXXXX")
    for name in cache config local fluxbox icewm dbus; do
        [ -e "$HOME/.$name" ] && mv "$HOME/.$name" "$aside/$name"
    done
    echo "Moved aside until the run ends: $(ls "$aside" | sed 's/^/~\/./' | tr '\n' ' ')"
}

# Each suite's time from ctest's lines, in the order they were declared.
suite_times() {
    sed -n 's/^ *[0-9]*\/[0-9]* Test *#\([0-9]*\): \([^ ]*\) [ .*]*\([A-Za-z*]*\) *\([0-9.]*\) sec$/\1 \2 \3 \4/p' "$1" |
        sort -n | awk '{ printf "  %-28s %-8s %7.2f s\n", $2, $3, $4 }'
}

if $busy; then
    for _ in $(seq "$(nproc)"); do
        sh -c 'while :; do :; done' &
        hogs+=($!)
    done
fi

for run in $(seq "$runs"); do
    folder=$(mktemp -d "${TMPDIR:-/tmp}/velmora-first-run.XXXXXX")
    git clone --quiet "$repo" "$folder/velmora"
    echo "== Rehearsal $run of $runs: $(git -C "$folder/velmora" log -1 --format='%h %s') in $folder"
    move_aside
    drop_page_caches
    start=$(date +%s)
    status=0
    make -C "$folder/velmora" test >"$folder/make-test.log" 2>&1 || status=$?
    put_back
    echo "make test: status $status after $(($(date +%s) - start)) s$($busy && echo ', both cores busy')"
    # The first ctest run is the whole suite; the second, the sanitizer build's.
    csplit --quiet --prefix="$folder/ctest-" "$folder/make-test.log" '/^Test project /' '{*}' 2>/dev/null || true
    for part in "$folder"/ctest-0[1-9]; do
        [ -e "$part" ] || continue
        echo "Suites of $(sed -n 's/^Test project //p' "$part" | head -n 1):"
        suite_times "$part"
    done
    if [ "$status" -ne 0 ]; then
        echo "Failed: the whole log is $folder/make-test.log; grabs under $folder/velmora/build/Testing"
        tail -n 40 "$folder/make-test.log"
        exit 1
    fi
    rm -rf "$folder"
done
