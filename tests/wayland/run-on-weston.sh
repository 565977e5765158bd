#!/usr/bin/env bash
# Runs one test program against a Wayland compositor of its own, inside a
# private D-Bus session; the program under test gets no X display at all.
# Weston runs on its X11 backend, nested in an Xvfb of its own: unlike the
# headless backend it has a seat, so its windows are activated and keys sent
# to that X server (xdotool, on $VELMORA_WESTON_X) reach them.
# Exits 77 (skipped) where Weston cannot start here.
set -u
for tool in weston Xvfb xdotool xprop dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make test installs it)"; exit 77; }
done
if [ "${1:-}" != "--in-session" ]; then
    # Every wait of the suite ends by then, before ctest's limit (atspi_common.py).
    if [ -n "${VELMORA_SUITE_SECONDS:-}" ]; then
        VELMORA_DEADLINE=$(($(date +%s) + VELMORA_SUITE_SECONDS))
        export VELMORA_DEADLINE
    fi
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

xvfb_pid=""
weston_pid=""
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$XDG_RUNTIME_DIR/display" 2>"$XDG_RUNTIME_DIR/xvfb.log" &
xvfb_pid=$!
until [ -s "$XDG_RUNTIME_DIR/display" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "SKIP: Xvfb could not start"; exit 77; }
    sleep 0.05
done
export VELMORA_WESTON_X=":$(head -n 1 "$XDG_RUNTIME_DIR/display")"
until DISPLAY=$VELMORA_WESTON_X xprop -root >/dev/null 2>&1; do sleep 0.05; done

# Pixman draws the screen, so that it can be grabbed; --debug lets any client grab it.
DISPLAY=$VELMORA_WESTON_X weston --backend=x11-backend.so --use-pixman --debug --width=1024 --height=768 \
    --socket=velmora --idle-time=0 --no-config >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston_pid=$!
until [ -S "$XDG_RUNTIME_DIR/velmora" ]; do
    kill -0 "$weston_pid" 2>/dev/null || { echo "SKIP: weston could not start: $(tail -c 300 "$XDG_RUNTIME_DIR/weston.log")"; exit 77; }
    sleep 0.05
done
# With no X window manager, keys go to the window under the pointer: Weston's.
DISPLAY=$VELMORA_WESTON_X xdotool mousemove 512 384

unset DISPLAY QT_QPA_PLATFORM
export WAYLAND_DISPLAY=velmora XDG_SESSION_TYPE=wayland
"$@"
