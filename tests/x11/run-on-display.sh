#!/usr/bin/env bash
# Runs one test program on a display of its own: Xvfb with the openbox window
# manager, inside a private D-Bus session. Everything it starts, it ends.
# Exits 77 (skipped) when the display cannot be had here.
set -u

for tool in Xvfb openbox dbus-run-session xdotool xprop xwininfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (make test installs it)"
        exit 77
    fi
done

if [ "${1:-}" != "--in-session" ]; then
    exec dbus-run-session -- "$0" --in-session "$@"
fi
shift

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "SKIP: Xvfb could not start: $(head -c 300 "$work/xvfb.log")"
    exit 77
fi
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done

export QT_QPA_PLATFORM=xcb
"$@"
