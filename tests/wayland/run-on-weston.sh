#!/usr/bin/env bash
# Runs one test program against a Wayland compositor of its own: Weston's
# headless backend, inside a private D-Bus session, with no X display at all.
# Exits 77 (skipped) where Weston cannot start here.
set -u
command -v weston >/dev/null || { echo "SKIP: weston is not installed (make test installs it)"; exit 77; }
command -v dbus-run-session >/dev/null || { echo "SKIP: dbus-run-session is not installed"; exit 77; }
if [ "${1:-}" != "--in-session" ]; then
    exec dbus-run-session -- "$0" --in-session "$@"
fi
shift

export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
weston_pid=""
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

weston --backend=headless-backend.so --socket=velmora --idle-time=0 --no-config \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston_pid=$!
until [ -S "$XDG_RUNTIME_DIR/velmora" ]; do
    kill -0 "$weston_pid" 2>/dev/null || { echo "SKIP: weston could not start: $(tail -c 300 "$XDG_RUNTIME_DIR/weston.log")"; exit 77; }
    sleep 0.05
done

unset DISPLAY QT_QPA_PLATFORM
export WAYLAND_DISPLAY=velmora XDG_SESSION_TYPE=wayland
"$@"
