#!/usr/bin/env bash
# Runs one test program on a display of its own: Xvfb with the openbox window
# manager (or the one VELMORA_WM names), inside a private D-Bus session.
# Everything it starts, it ends.
# Exits 77 (skipped) when the display cannot be had here.
#   VELMORA_SUITE_SECONDS  every wait of the driver ends by then (drive.py), so
#                          that the suite says why it failed before ctest's limit
#   VELMORA_TEST_ARTIFACTS the folder for the grabs of failed cases, and the
#                          window manager's log when the suite fails
set -u

wm=${VELMORA_WM:-openbox}
for tool in Xvfb "$wm" dbus-run-session xdotool xprop xwininfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (make test installs it)"
        exit 77
    fi
done

if [ "${1:-}" != "--in-session" ]; then
    if [ -n "${VELMORA_SUITE_SECONDS:-}" ]; then
        VELMORA_DEADLINE=$(($(date +%s) + VELMORA_SUITE_SECONDS))
        export VELMORA_DEADLINE
    fi
    # The grabs of this run only.
    [ -n "${VELMORA_TEST_ARTIFACTS:-}" ] && rm -rf "$VELMORA_TEST_ARTIFACTS" && mkdir -p "$VELMORA_TEST_ARTIFACTS"
    # A runtime folder of its own, as a desktop session has, made before the
    # session bus so that what the bus starts (the AT-SPI bus) keeps its
    # sockets there too. Else they fall back to ~/.cache/at-spi, shared by the
    # suites running side by side: one suite's bus, ending, took the socket
    # another's clients were still to connect to.
    XDG_RUNTIME_DIR=$(mktemp -d) || exit 1
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    exec dbus-run-session -- "$0" --in-session "$@"
fi
shift

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
# Asked to end, then made to: fluxbox may leave SIGTERM unanswered (with its
# wallpaper warning still up), and waiting on it would hang the run.
end() {
    kill "$1" 2>/dev/null || return
    for _ in $(seq 40); do kill -0 "$1" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
cleanup() {
    [ -n "$wm_pid" ] && end "$wm_pid"
    [ -n "$xvfb_pid" ] && end "$xvfb_pid"
    rm -rf "$work" "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number.
# 1920x1440: room for the main window at 3x. -noreset: the server would
# reset, dropping whoever is connecting, each time its last client leaves
# (the readiness check below is one).
Xvfb -displayfd 5 -screen 0 1920x1440x24 -nolisten tcp -noreset 5>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
until [ -s "$work/display" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "SKIP: Xvfb could not start: $(head -c 300 "$work/xvfb.log")"
    exit 77
fi
export DISPLAY=":$(head -n 1 "$work/display")"

# The server answers before anything else is started on it.
until xprop -root >/dev/null 2>&1; do
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "SKIP: Xvfb ended: $(head -c 300 "$work/xvfb.log")"; exit 77; }
    sleep 0.05
done

# A test run before the window manager manages windows would see them unframed.
# No wallpaper setter for the window manager: fluxbox runs "fbsetbg -z" at
# start, and its failure notice (an xmessage) would pop up over the game and
# take the focus at any moment.
mkdir "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/fbsetbg"
chmod +x "$work/bin/fbsetbg"
start_wm() {
    case "$wm" in
        openbox) openbox --sm-disable >"$work/wm.log" 2>&1 & ;;
        *) PATH="$work/bin:$PATH" "$wm" >"$work/wm.log" 2>&1 & ;;
    esac
    wm_pid=$!
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        kill -0 "$wm_pid" 2>/dev/null || return 1
        sleep 0.05
    done
}
for try in 1 2 3; do
    start_wm && break
    echo "$wm could not start (try $try): $(head -c 300 "$work/wm.log")"
    wm_pid=""
    [ "$try" -eq 3 ] && exit 1
done

export QT_QPA_PLATFORM=xcb
# The test, ended at once should the window manager end first: every later
# case would otherwise wait out its time on unframed windows.
"$@" &
test_pid=$!
wait -n -p ended "$test_pid" "$wm_pid"
status=$?
if [ "$ended" = "$wm_pid" ]; then
    how="status $status"
    [ "$status" -gt 128 ] && how="signal $((status - 128))"
    echo "$wm ended during the test ($how): $(tail -c 300 "$work/wm.log")"
    wm_pid=""
    end "$test_pid"
    status=1
fi
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && [ -n "${VELMORA_TEST_ARTIFACTS:-}" ]; then
    cp "$work/wm.log" "$VELMORA_TEST_ARTIFACTS/$wm.log" 2>/dev/null
    echo "Grabs of the failed cases and the window manager's log: $VELMORA_TEST_ARTIFACTS"
fi
exit "$status"
