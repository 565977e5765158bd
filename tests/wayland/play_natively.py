#!/usr/bin/python3
"""The game on a Wayland desktop: it starts with Qt's Wayland plugin (no X),
a keypad key sent through the compositor places a mark by its position, games
are finished (the cells pressed through their accessibility actions), the result comes up as
a dialog and its button counts the game; the window offers a close box and no
minimise or maximise, and closing it ends the program with status 0; nothing
is printed on the way. The title bars, grabbed from the screen, keep title and
cross at a contrast of 4.5:1 or more, on the active window and on an inactive one.
Weston runs nested in an X server, whose seat lets it activate windows.
Run against a compositor of its own: run-on-weston.sh play_natively.py VELMORA"""
import glob
import os
import signal
import subprocess
import sys
import tempfile

try:
    from PIL import Image, ImageChops
except ImportError:
    print("SKIP: python3-pil is not installed (make test installs it)")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_common import (check, exit_status, find, in_app, labelled_by, mark_of, place_of, pyatspi,  # noqa: E402
                          summary, wait_for, walk)

BAR = 32  # the title bar's height, its bottom line included
RESULT, BOARD = (255, 128, 128), (0, 192, 0)  # the colours of the result window and of the board
CLOSE = 34  # the close box's share at the bar's right end


def screen():
    with tempfile.TemporaryDirectory() as grabs:
        subprocess.run(["weston-screenshooter"], cwd=grabs, check=True, timeout=20)
        return Image.open(glob.glob(os.path.join(grabs, "*.png"))[0]).convert("RGB")


def area(shot, colour):
    """The box around every pixel of exactly this colour: a window's client area."""
    differs = ImageChops.difference(shot, Image.new("RGB", shot.size, colour)).convert("L")
    return differs.point(lambda v: 255 if v == 0 else 0).getbbox()


def contrast(a, b):
    def luminance(c):
        v = [x / 255 for x in c]
        v = [x / 12.92 if x <= 0.03928 else ((x + 0.055) / 1.055) ** 2.4 for x in v]
        return 0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2]
    hi, lo = sorted((luminance(a), luminance(b)), reverse=True)
    return (hi + 0.05) / (lo + 0.05)


def bar_contrasts(shot, top_left, width):
    """Title and cross of the bar at the window's top against the bar's commonest
    colour: the most contrasting pixel of each."""
    bar = shot.crop((top_left[0], top_left[1], top_left[0] + width, top_left[1] + BAR - 1))
    back = max(bar.getcolors(1 << 20))[1]
    def most(part):
        return max(contrast(c, back) for _, c in part.getcolors(1 << 20))
    return most(bar.crop((0, 0, bar.width - CLOSE, bar.height))), most(bar.crop((bar.width - CLOSE, 0, bar.width, bar.height)))


velmora = sys.argv[1]
errors = tempfile.TemporaryFile(mode="w+")
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
program = subprocess.Popen([velmora], env=env, stderr=errors)
try:
    frame = wait_for(lambda: in_app(lambda n: n.getRole() == pyatspi.ROLE_FRAME))
    check(frame is not None, "the main window is up")
    if frame is None:
        raise SystemExit(summary())
    with open("/proc/%d/maps" % program.pid) as maps:
        loaded = maps.read()
    check("libqwayland" in loaded and "libqxcb" not in loaded, "Qt's Wayland plugin runs it, not X")

    # Its title bar, grabbed as the window opens (active).
    close = find(frame, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "סגירה")
    size = close.queryComponent().getSize() if close else (0, 0)
    check(min(size) >= 24, "a close box of 24 pixels or more: %r" % (size,))
    shot = wait_for(lambda: (lambda grab: area(grab, BOARD) and grab)(screen()))
    board = area(shot, BOARD)
    # Wayland keeps a window's place from it: its controls' places are within the window.
    menu = find(frame, lambda n: n.getRole() == pyatspi.ROLE_MENU_BAR).queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    window = (board[0], board[1] - menu.y - menu.height)
    width = board[2] - board[0]
    contrasts = {"active": bar_contrasts(shot, window, width)}

    # A keypad key through Weston's own keyboard: KP_3 is the bottom right cell.
    subprocess.run(["xdotool", "key", "KP_3"], env=dict(os.environ, DISPLAY=os.environ["VELMORA_WESTON_X"]),
                   check=True)
    corner = find(frame, lambda n: place_of(n) == "שורה 3, עמודה 3")
    check(wait_for(lambda: mark_of(corner) == "X", 5), "KP_3 marks the bottom right cell")
    find(frame, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "משחק חדש").queryAction().doAction(0)
    check(wait_for(lambda: mark_of(corner) == "", 5), "a new game clears it")

    cells = {}
    for description in ("שורה 1, עמודה %d" % c for c in (1, 2, 3)):
        cells[description] = find(frame, lambda n, d=description: place_of(n) == d)
    for description in ("שורה 2, עמודה %d" % c for c in (1, 2)):
        cells[description] = find(frame, lambda n, d=description: place_of(n) == d)
    check(all(cells.values()), "the cells are found by their places")

    def result():
        return in_app(lambda n: n.getRole() == pyatspi.ROLE_DIALOG and n.name == "X, שורה 1, עמודה 3"  # the last move
                      and n.getState().contains(pyatspi.STATE_SHOWING))

    # Games won by X until the result window, which the compositor places where it
    # likes, leaves the main window's bar in sight: then that bar is grabbed inactive.
    games = 0
    while "inactive" not in contrasts and games < 10:
        # X takes the top row: 1, then O 4, X 2, O 5, X 3.
        for description, mark in (("שורה 1, עמודה 1", "X"), ("שורה 2, עמודה 1", "O"), ("שורה 1, עמודה 2", "X"),
                                  ("שורה 2, עמודה 2", "O"), ("שורה 1, עמודה 3", "X")):
            cells[description].queryAction().doAction(0)
            check(wait_for(lambda: mark_of(cells[description]) == mark, 5), "%s takes %s" % (description, mark))
        dialog = wait_for(result)
        check(dialog is not None and dialog.getState().contains(pyatspi.STATE_MODAL), "the modal result dialog")
        if dialog is None:
            break
        shot = wait_for(lambda: (lambda grab: area(grab, RESULT) and grab)(screen()))
        over = area(shot, RESULT)
        if over[2] <= window[0] or over[0] >= window[0] + width or over[3] <= window[1] or over[1] - BAR >= window[1] + BAR:
            contrasts["inactive"] = bar_contrasts(shot, window, width)
        find(dialog, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)
        games += 1
        tally = wait_for(lambda: find(frame, lambda n: labelled_by(n) == " X" and n.name == str(games)))
        check(tally is not None, "the X tally reads %d" % games)
    for state, (title, cross) in contrasts.items():
        check(title >= 4.5 and cross >= 4.5, "%s: title %.1f:1, cross %.1f:1" % (state, title, cross))
        print("%s title bar: title %.1f:1, cross %.1f:1" % (state, title, cross))
    check(len(contrasts) == 2 and contrasts["inactive"] != contrasts["active"], "the bar shows when it is inactive")
    check(program.poll() is None, "still running")

    # The exit question, opened by a reader's press from a helper (whose call waits until the
    # question is answered), has the program's own title bar too, not Qt's with minimise and maximise.
    # The helper waits for the button, as every look here does, rather than looking once.
    press = ("import sys; sys.path.insert(0, %r); from atspi_common import in_app, pyatspi, wait_for; "
             "wait_for(lambda: in_app(lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == 'יציאה'), 30)"
             ".queryAction().doAction(0)" % os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
    helper = subprocess.Popen([sys.executable, "-c", press], stderr=subprocess.DEVNULL)
    question = wait_for(lambda: in_app(lambda n: n.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
                                       and n.name == "יציאה" and n.getState().contains(pyatspi.STATE_SHOWING)), 30)
    check(question is not None, "the exit question opens")
    if question is not None:
        names = sorted(n.name for n, _ in walk(question) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
        check(names == sorted(["כן", "לא", "סגירה"]), "the question's buttons: %r" % names)
        with open("/proc/%d/maps" % program.pid) as maps:
            check("bradient" not in maps.read(), "Qt's own title bar is not loaded")
        find(question, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "לא").queryAction().doAction(0)
        check(wait_for(lambda: helper.poll() is not None, 5), "answered No, the question goes")
    helper.kill()
    helper.wait()

    # The title bar: the window's title and a close box, no other button.
    buttons = sorted(n.name for n, _ in walk(frame) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and not place_of(n))
    check(buttons == sorted(["משחק חדש", "יציאה", "סגירה"]), "buttons besides the cells: %r" % buttons)
    close = find(frame, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "סגירה")
    try:
        close.queryAction().doAction(0)
    except Exception:  # the program may be gone before it answers
        pass
    status = exit_status(program)
    check(status == 0, "its close box ends the program with status 0, not %r" % status)
finally:
    if program.poll() is None:
        program.send_signal(signal.SIGTERM)
        program.wait()
errors.seek(0)
printed = errors.read()
check(printed == "", "nothing printed on stderr: %r" % printed[:300])
sys.exit(summary())
