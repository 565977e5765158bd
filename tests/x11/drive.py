#!/usr/bin/python3
"""The one driver of the real-window tests: imported by the Python suites, run
as a command by the C++ ones. Input goes in as a player's would, through
xdotool on the real X server, and only into a state this has seen there: keys
go to a window once it is viewable and has the input focus, an arrow goes to a
menu once the menu is open with an item highlighted. Every wait is for what the
server shows, never for a fixed time, so a cold or busy machine only makes it
slower. (The display itself, window manager and D-Bus session included, comes
from run-on-display.sh.)

  drive.py window TITLE [SECONDS]  waits for a viewable window of that title, prints its id
  drive.py gone TITLE [SECONDS]    waits until no window of that title is viewable
  drive.py key WINDOW KEY...       gives the window the focus, then presses the keys
  drive.py press KEY...            presses the keys into whatever has the focus
  drive.py menu WINDOW MENU ITEM   chooses item ITEM of menu MENU (both from 0) by F10 and the arrows
  drive.py opened [SECONDS]        waits for a menu to be open
  drive.py placements TITLE        prints where the window of that title is shown from its mapping on,
                                   until a line comes on standard input
  drive.py settle WINDOW           closes any open menu and any other window of the program, then
                                   gives WINDOW the focus: the known state a test case starts from
  drive.py explain WHAT            says what the display shows now (see explain)
  drive.py act WINDOW ACTION       asks the window manager to minimise, hide, shade the window or
                                   send it to the second desktop or close it, as another client
                                   would, or withdraws it; prints "done" once the server shows it done, or
                                   "declined" once the window manager has answered a later request

Status 1 when what was waited for did not come; then it says what it saw
instead, and saves a grab of the display (see explain).

Every wait ends by VELMORA_DEADLINE (seconds since the epoch, set by
run-on-display.sh a little before ctest would end the suite), so that a suite
whose state never comes fails with its reasons rather than being killed."""
import os
import re
import select
import subprocess
import sys
import time

from Xlib import X, XK, Xatom
from Xlib import display as xdisplay
from Xlib import error as xerror
from Xlib.ext import xtest
from Xlib.protocol import event as xevent

WAIT = 30  # seconds: generous, since waiting ends as soon as the state is seen
DEADLINE = float(os.environ.get("VELMORA_DEADLINE", "inf"))
_server = None
last_wait = None  # what the last wait that ran out was for, and how long it waited


def server():
    global _server
    if _server is None:
        _server = xdisplay.Display()
    return _server


def time_left(seconds):
    """Seconds to wait: as asked, but never past the suite's deadline."""
    return max(0.0, min(seconds, DEADLINE - time.time()))


def until(condition, seconds=WAIT, waiting_for=None):
    """The condition's first true value, or None once the time is up (then
    remembered, with `waiting_for`, for explain)."""
    global last_wait
    start = time.monotonic()
    deadline = start + time_left(seconds)
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            last_wait = "%s (%.1f s%s)" % (waiting_for or "a state", time.monotonic() - start,
                                           ", cut short: the suite's time ran out" if time.time() >= DEADLINE else "")
            return None
        time.sleep(0.02)


def _viewable(window):
    return window.get_attributes().map_state == X.IsViewable


def title_of(window):
    d = server()
    name = window.get_full_property(d.intern_atom("_NET_WM_NAME"), d.intern_atom("UTF8_STRING"))
    if name is None:
        name = window.get_full_property(Xatom.WM_NAME, X.AnyPropertyType)
    if name is None:
        return None
    value = name.value
    return value.decode("utf-8", "replace") if isinstance(value, bytes) else value


def _titled(window, title, depth=0):
    """Viewable windows of that title at or below `window` (clients sit in their frames)."""
    found = []
    for child in window.query_tree().children:
        try:
            if not _viewable(child):
                continue
            if title_of(child) == title:
                found.append(child.id)
            elif depth < 3:
                found += _titled(child, title, depth + 1)
        except xerror.XError:  # gone meanwhile
            pass
    return found


def windows(title):
    return _titled(server().screen().root, title)


def window(title, seconds=WAIT):
    """The id of a viewable window with exactly this title, or None."""
    found = until(lambda: windows(title), seconds, "a viewable window titled %r" % title)
    return found[0] if found else None


def gone(title, seconds=WAIT):
    return until(lambda: not windows(title), seconds, "no viewable window titled %r" % title) is not None


def _focused(window):
    focus = server().get_input_focus().focus
    return not isinstance(focus, int) and focus.id == window


def focus(window, seconds=WAIT):
    """Viewable and given the input focus, as a window manager gives it."""
    w = server().create_resource_object("window", window)
    if not until(lambda: _viewable(w), seconds, "window 0x%x viewable" % window):
        return False
    if _focused(window):
        return True
    subprocess.run(["xdotool", "windowactivate", str(window)], stderr=subprocess.DEVNULL)
    return until(lambda: _focused(window), seconds, "the input focus on window 0x%x" % window) is not None


MODIFIERS = {"ctrl": "Control_L", "alt": "Alt_L", "shift": "Shift_L", "super": "Super_L"}


def _keycode(name):
    """The key that types the keysym of that name, and whether Shift is needed;
    "@53" is the key of keycode 53, by its place whatever the layout."""
    if name.startswith("@"):
        return int(name[1:]), False
    d = server()
    keysym = XK.string_to_keysym(MODIFIERS.get(name.lower(), name))
    levels = sorted(d.keysym_to_keycodes(keysym), key=lambda found: found[1]) if keysym else []
    if not levels or levels[0][1] > 1:
        raise ValueError("no key of the display's keyboard types %r" % name)
    return levels[0][0], levels[0][1] == 1


HOLD = 0.05  # seconds a player's finger keeps a modifier down around its key


def press(*keys):
    """Keys to whatever has the focus now, as xdotool's "key --clearmodifiers"
    gives them ("ctrl+x", "F10"), but each key's press and release sent in one
    request to the server. Sent apart, as xdotool sends them, a server kept
    from reading the release for longer than its repeat delay (660 ms: a
    loaded first run) repeats the key, and the program rightly takes the
    repeat: Down twice takes a menu of two items back to its first. Modifiers
    (which do not repeat) are held around the key as a player holds them,
    long enough for a window manager's binding (Alt+Tab) to take the key."""
    d = server()
    down = d.query_keymap()
    held = [code for codes in d.get_modifier_mapping() for code in codes
            if code and down[code // 8] & (1 << (code % 8))]
    for code in held:  # modifiers the test itself holds, let go meanwhile
        xtest.fake_input(d, X.KeyRelease, code)
    for combination in keys:
        *modifiers, name = combination.split("+")
        code, shifted = _keycode(name)
        chord = [_keycode(m)[0] for m in modifiers] + ([_keycode("shift")[0]] if shifted else [])
        for modifier in chord:
            xtest.fake_input(d, X.KeyPress, modifier)
        d.sync()
        xtest.fake_input(d, X.KeyPress, code)
        xtest.fake_input(d, X.KeyRelease, code)
        d.sync()
        if chord:
            time.sleep(HOLD)
        for modifier in reversed(chord):
            xtest.fake_input(d, X.KeyRelease, modifier)
        d.sync()
    for code in held:
        xtest.fake_input(d, X.KeyPress, code)
    d.sync()


def key(window, *keys):
    if not focus(window):
        return False
    press(*keys)
    return True


def popups():
    """The open menus of the display: viewable windows of the program's that
    no window manager frames. (Their window type is no guide: Qt says "normal"
    of a menu whose window it made again.)"""
    found = []
    for child in server().screen().root.query_tree().children:
        try:
            attributes = child.get_attributes()
            if (attributes.override_redirect and attributes.map_state == X.IsViewable
                    and (child.get_wm_class() or ("", ""))[1] == "Velmora"):
                found.append(child)
        except xerror.XError:
            pass
    return found


def highlighted(popup):
    """The row of the menu's highlighted item, from its pixels: a band across
    the menu of one colour, a hue where the menu itself is grey; or None."""
    g = popup.get_geometry()
    raw = popup.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data
    stride = len(raw) // g.height

    def colour(x, y):
        at = y * stride + 4 * x
        return raw[at:at + 3]

    def hued(c):
        return max(c) - min(c) >= 48

    runs = []  # rows, top and bottom, of a hue that spans the menu
    for y in range(g.height):
        if hued(colour(3, y)) and colour(3, y) == colour(g.width - 4, y):
            if runs and runs[-1][1] == y - 1:
                runs[-1][1] = y
            else:
                runs.append([y, y])
    bands = [(top, bottom) for top, bottom in runs if bottom - top >= 3]  # not a frame's line
    if len(bands) != 1:
        return None
    top, bottom = bands[0]
    return round(top / (bottom - top + 1))


def _menu_state():
    """(where the open menu is across the screen, its highlighted row) while
    exactly one menu is open and one row reads as highlighted; else None, as
    while a menu is drawn. A menu is known by its place under its title, not
    by its window: Qt sometimes makes a menu's window anew while it is open."""
    shown = popups()
    if len(shown) != 1:
        return None
    try:
        row = highlighted(shown[0])
        x = shown[0].translate_coords(server().screen().root, 0, 0).x
    except xerror.XError:
        return None
    return None if row is None else (-x, row)


def menu(window, which, item, seconds=WAIT):
    """Menu `which` of the window's menu bar opened by F10 and the arrows, and
    its item `item` chosen with Enter: every key once the last one is seen.
    A key that leaves the menu settled elsewhere (Down past the last item wraps
    to the first) fails at once, saying so."""
    global last_wait
    if not key(window, "F10"):
        return False
    state = until(lambda: (lambda now: now if now and now[1] == 0 else None)(_menu_state()), seconds,
                  "F10: a menu open with its first row highlighted")
    # Each menu of the bar opens further right than the one before.
    steps = [("Right", "menu %d" % m, lambda now, before: now[0] > before[0] and now[1] == 0)
             for m in range(1, which + 1)]
    steps += [("Down", "row %d of menu %d" % (row, which), lambda now, before, row=row: now == (before[0], row))
              for row in range(1, item + 1)]
    for name, goal, reached in steps:
        if not state:
            return False
        before = state
        press(name)
        # Whatever the key changes is a new state: the goal, or a miss.
        state = until(lambda: (lambda now: now if now and now != before else None)(_menu_state()), seconds,
                      "%s: %s highlighted" % (name, goal))
        if state and not reached(state, before):
            last_wait = "%s: %s highlighted, but the menu at x %d shows row %d (from row %d of the menu at x %d)" % (
                name, goal, state[0], state[1], before[1], before[0])
            return False
    if not state:
        return False
    press("Return")
    return until(lambda: not popups(), seconds, "Return: the menu closed") is not None


# What another client (a taskbar, a pager, a script) asks of the window
# manager, as xdotool and wmctrl ask it: a message to the root window, or None
# to withdraw the window itself; and the event on the window that shows it done.
ACTIONS = {
    "minimise": (("WM_CHANGE_STATE", [3]), "WM_STATE"),  # Iconic: xfwm4 unmaps a modal window, then maps it again
    "hide": (("_NET_WM_STATE", [1, "_NET_WM_STATE_HIDDEN"]), "WM_STATE"),
    "desktop": (("_NET_WM_DESKTOP", ["next"]), "_NET_WM_DESKTOP"),  # the desktop after the current one
    "shade": (("_NET_WM_STATE", [1, "_NET_WM_STATE_SHADED"]), "_NET_WM_STATE"),
    "withdraw": (None, "unmap"),
    "close": (("_NET_CLOSE_WINDOW", [X.CurrentTime, 2]), "unmap"),
    "showdesktop": (("_NET_SHOWING_DESKTOP", [1]), "unmap"),  # of the whole desktop: told to the root
}


def _tell(window, name, data):
    d = server()
    data = [d.intern_atom(v) if isinstance(v, str) else v for v in data]
    message = xevent.ClientMessage(window=window, client_type=d.intern_atom(name), data=(32, data + [0] * (5 - len(data))))
    d.screen().root.send_event(message, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)


def _iconic(window):
    state = _property(window, "WM_STATE")
    return state is not None and len(state) > 0 and state[0] == 3


def act(window, action, seconds=WAIT):
    """"done" once the window manager is seen to have taken the action (watched
    for from before the request, so a program that undoes it at once does not
    hide it); "declined" once it has answered a request sent after it (window
    managers answer in turn) and not taken it; None when neither came."""
    d = server()
    if action == "showdesktop":
        supported = d.screen().root.get_full_property(d.intern_atom("_NET_SUPPORTED"), X.AnyPropertyType)
        if not supported or d.intern_atom("_NET_SHOWING_DESKTOP") not in supported.value:
            return "declined"  # fluxbox and icewm have no such mode
    w = d.create_resource_object("window", window)
    w.change_attributes(event_mask=X.StructureNotifyMask | X.PropertyChangeMask)
    # Any window manager of ours says a window's frame when asked.
    probe = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, event_mask=X.PropertyChangeMask)
    request, sign = ACTIONS[action]
    if request and request[1] == ["next"]:
        root = d.screen().root
        count = root.get_full_property(d.intern_atom("_NET_NUMBER_OF_DESKTOPS"), X.AnyPropertyType)
        current = root.get_full_property(d.intern_atom("_NET_CURRENT_DESKTOP"), X.AnyPropertyType)
        request = (request[0], [(current.value[0] + 1) % max(count.value[0], 1) if count and current else 1])
    if request is None:
        w.unmap()
    else:
        _tell(d.screen().root if action == "showdesktop" else w, *request)
    _tell(probe, "_NET_REQUEST_FRAME_EXTENTS", [])
    d.flush()
    atom = None if sign == "unmap" else d.intern_atom(sign)
    deadline = time.monotonic() + time_left(seconds)
    answered = None
    unmapped = False
    while not answered and time.monotonic() < deadline:
        if not d.pending_events():
            select.select([d], [], [], 0.05)
            continue
        e = d.next_event()
        on = getattr(e, "window", None)
        unmapped = unmapped or (on is not None and on.id == window and e.type == X.UnmapNotify)
        # WM_STATE is read after the fact: a window shown again at once, or
        # withdrawn by the program in answer, was iconic if it was unmapped.
        if on is not None and on.id == window and (
                e.type == X.UnmapNotify if atom is None else e.type == X.PropertyNotify and e.atom == atom
                and (sign != "WM_STATE" or unmapped or _iconic(w))):
            answered = "done"
        elif on is not None and on.id == probe.id and e.type == X.PropertyNotify:
            answered = "declined"
    probe.destroy()
    d.flush()
    if not answered:
        global last_wait
        last_wait = "%s of window 0x%x: the window manager's answer" % (action, window)
    return answered


def placements(title):
    """Where the window of that title is shown, frame and all, from the moment
    it maps: the root position of the window manager's frame (or of the window
    itself, unframed) at its mapping and at each move after, until a line
    comes on standard input. Watched from before the program starts, so that a
    jump the window manager makes and undoes at once is seen too."""
    d = server()
    root = d.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    print("watching", flush=True)
    shown = {}  # top-level window id -> positions while mapped
    while not select.select([sys.stdin], [], [], 0)[0]:
        if not d.pending_events():
            select.select([d, sys.stdin], [], [], 0.05)
            continue
        e = d.next_event()
        if e.type == X.MapNotify and e.event.id == root.id:
            g = e.window.get_geometry()
            shown[e.window.id] = [(g.x, g.y)]
        elif e.type == X.ConfigureNotify and e.event.id == root.id and e.window.id in shown:
            if shown[e.window.id][-1] != (e.x, e.y):
                shown[e.window.id].append((e.x, e.y))
        elif e.type == X.UnmapNotify and e.event.id == root.id:
            shown.pop(e.window.id, None)
    for top, positions in shown.items():
        window = d.create_resource_object("window", top)
        if title_of(window) == title or _titled(window, title):
            print(" ".join("%d,%d" % p for p in positions))
            return 0
    return 1


def _property(window, name, kind=X.AnyPropertyType):
    try:
        value = window.get_full_property(server().intern_atom(name), kind)
    except xerror.XError:
        return None
    return value.value if value is not None else None


def _atom_names(values):
    return [server().get_atom_name(v) for v in values or []]


def _describe(window):
    """A window in a line: id, title, where it is, how it is mapped and what
    the window manager says of it."""
    try:
        attributes = window.get_attributes()
        g = window.get_geometry()
        at = window.translate_coords(server().screen().root, 0, 0)
        states = [n.replace("_NET_WM_STATE_", "") for n in _atom_names(_property(window, "_NET_WM_STATE"))]
        wm_state = _property(window, "WM_STATE")
        transient = _property(window, "WM_TRANSIENT_FOR")
        parts = ["0x%x %r" % (window.id, title_of(window)), "%dx%d at %d,%d" % (g.width, g.height, -at.x, -at.y),
                 {X.IsViewable: "viewable", X.IsUnmapped: "unmapped", X.IsUnviewable: "unviewable"}[attributes.map_state]]
        if wm_state:
            parts.append({0: "withdrawn", 1: "normal", 3: "iconic"}.get(wm_state[0], "WM_STATE %d" % wm_state[0]))
        if states:
            parts.append("state " + " ".join(states))
        if transient:
            parts.append("transient for 0x%x" % transient[0])
        return ", ".join(parts)
    except xerror.XError:
        return "0x%x (gone)" % window.id


def _grab(what):
    """The whole display saved as a PNG in the suite's folder (VELMORA_TEST_ARTIFACTS)."""
    folder = os.environ.get("VELMORA_TEST_ARTIFACTS")
    if not folder:
        return "not saved (VELMORA_TEST_ARTIFACTS is not set)"
    os.makedirs(folder, exist_ok=True)
    name = "%s-%s.png" % (time.strftime("%H%M%S"), re.sub(r"[^\w.-]+", "_", what)[:60].strip("_"))
    path = os.path.join(folder, name)
    image(server().screen().root.id).save(path)
    return path


def image(window):
    """What the window (a window id) shows, as a PIL image."""
    from PIL import Image
    w = server().create_resource_object("window", window)
    g = w.get_geometry()
    raw = w.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data
    return Image.frombytes("RGB", (g.width, g.height), bytes(raw), "raw", "BGRX")


def explain(what):
    """What the display shows now, on standard error: the wait that ran out,
    the focus, the active window, the open menus with the row read as
    highlighted, every window of the program's and what the window manager
    says of it; and a grab of the display, whose path it gives."""
    lines = ["WHAT THE DISPLAY SHOWED when %s failed:" % what]
    try:
        d = server()
        root = d.screen().root
        if last_wait:
            lines.append("  the last wait ran out: " + last_wait)
        focus = d.get_input_focus().focus
        lines.append("  input focus: " + (_describe(focus) if not isinstance(focus, int) else "none (%d)" % focus))
        active = _property(root, "_NET_ACTIVE_WINDOW")
        if active and active[0]:
            lines.append("  active window: " + _describe(d.create_resource_object("window", active[0])))
        pointer = root.query_pointer()
        lines.append("  pointer at %d,%d" % (pointer.root_x, pointer.root_y))
        for popup in popups():
            try:
                row = highlighted(popup)
            except xerror.XError:
                row = None
            lines.append("  open menu: %s, highlighted row %s" % (_describe(popup), "none read" if row is None else row))
        if not popups():
            lines.append("  no menu open")
        for client in _property(root, "_NET_CLIENT_LIST") or []:
            window = d.create_resource_object("window", client)
            lines.append("  window: " + _describe(window))
        lines.append("  grab: " + _grab(what))
    except Exception as failure:  # say what could be seen, whatever else failed
        lines.append("  (could not read the display further: %r)" % failure)
    print("\n".join(lines), file=sys.stderr, flush=True)


def _program_windows(but):
    """The program's managed windows, the given one left out."""
    found = []
    for client in _property(server().screen().root, "_NET_CLIENT_LIST") or []:
        if client == but:
            continue
        window = server().create_resource_object("window", client)
        try:
            if (window.get_wm_class() or ("", ""))[1] == "Velmora":
                found.append(window)
        except xerror.XError:
            pass
    return found


def settle(window, seconds=WAIT):
    """The state a test case starts from: no menu open, no window of the
    program's but `window` (each asked to close, as by its title bar's button),
    and `window` with the focus. False when it cannot be had."""
    for _ in range(4):
        if not popups():
            break
        press("Escape")
        until(lambda: len(popups()) == 0, 2, "no menu open after Escape")
    for other in _program_windows(window):
        _tell(other, "_NET_CLOSE_WINDOW", [X.CurrentTime, 2])
    server().flush()
    return bool(until(lambda: not popups() and not _program_windows(window), seconds,
                      "no menu and no other window of the program's") and focus(window, seconds))


def main(args):
    command, rest = args[0], args[1:]
    if command == "window":
        found = window(rest[0], float(rest[1]) if len(rest) > 1 else WAIT)
        if found:
            print(found)
        return 0 if found else 1
    if command == "gone":
        return 0 if gone(rest[0], float(rest[1]) if len(rest) > 1 else WAIT) else 1
    if command == "press":
        press(*rest)
        return 0
    if command == "key":
        return 0 if key(int(rest[0], 0), *rest[1:]) else 1
    if command == "menu":
        return 0 if menu(int(rest[0], 0), int(rest[1]), int(rest[2])) else 1
    if command == "act":
        answered = act(int(rest[0], 0), rest[1])
        if answered:
            print(answered)
        return 0 if answered else 1
    if command == "opened":
        return 0 if until(popups, float(rest[0]) if rest else WAIT, "a menu open") else 1
    if command == "placements":
        return placements(rest[0])
    if command == "settle":
        return 0 if settle(int(rest[0], 0)) else 1
    if command == "explain":
        explain(" ".join(rest))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    status = main(sys.argv[1:])
    if status == 1:
        explain("drive.py " + " ".join(sys.argv[1:]))
    sys.exit(status)
