#!/usr/bin/python3
"""The game on a Wayland desktop: it starts with Qt's Wayland plugin (no X),
a game is finished (the cells pressed through their accessibility actions, as
headless Weston has no keyboard or pointer to drive), the result comes up as
a dialog and its button counts the game; the window offers a close box and no
minimise or maximise, and closing it ends the program with status 0; nothing
is printed on the way.
Run against a compositor of its own: run-on-weston.sh play_natively.py VELMORA"""
import os
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_common import check, exit_status, find, in_app, labelled_by, pyatspi, summary, wait_for, walk  # noqa: E402

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

    cells = {}
    for description in ("שורה 1, עמודה %d" % c for c in (1, 2, 3)):
        cells[description] = find(frame, lambda n, d=description: n.description.startswith(d + ","))
    for description in ("שורה 2, עמודה %d" % c for c in (1, 2)):
        cells[description] = find(frame, lambda n, d=description: n.description.startswith(d + ","))
    check(all(cells.values()), "the cells are found by their places")
    # X takes the top row: 1, then O 4, X 2, O 5, X 3.
    for description, mark in (("שורה 1, עמודה 1", "X"), ("שורה 2, עמודה 1", "O"), ("שורה 1, עמודה 2", "X"),
                              ("שורה 2, עמודה 2", "O"), ("שורה 1, עמודה 3", "X")):
        cells[description].queryAction().doAction(0)
        check(wait_for(lambda: cells[description].name == mark, 5), "%s takes %s" % (description, mark))

    def result():
        return in_app(lambda n: n.getRole() == pyatspi.ROLE_DIALOG and n.name == "האיקס ניצח"
                      and n.getState().contains(pyatspi.STATE_SHOWING))

    dialog = wait_for(result)
    check(dialog is not None and dialog.getState().contains(pyatspi.STATE_MODAL), "the modal result dialog")
    if dialog is not None:
        find(dialog, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)
    tally = wait_for(lambda: find(frame, lambda n: labelled_by(n) == " X" and n.name == "1"))
    check(tally is not None, "the X tally reads 1")
    check(program.poll() is None, "still running")

    # The exit question, opened by a reader's press from a helper (whose call waits until the
    # question is answered), has the program's own title bar too, not Qt's with minimise and maximise.
    press = ("import sys; sys.path.insert(0, %r); from atspi_common import in_app, pyatspi; in_app(lambda n: "
             "n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == 'יציאה').queryAction().doAction(0)"
             % os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
    helper = subprocess.Popen([sys.executable, "-c", press], stderr=subprocess.DEVNULL)
    question = wait_for(lambda: in_app(lambda n: n.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
                                       and n.name == "יציאה" and n.getState().contains(pyatspi.STATE_SHOWING)))
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
    buttons = sorted(n.name for n, _ in walk(frame) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name)
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
