#!/usr/bin/python3
"""What a blind player hears: the built program under Orca, the screen reader
of the Linux desktop, played by the keyboard alone. Orca's speech is read from
its debug log (no audio). A game won by X with the digit keys (each move says
the mark, where it went and whose turn is next), its result window, the
scoreboard read out with 0, the arrows on the board, who opens changed and the
tallies cleared through the menus reached by F10, and leaving with Ctrl+X.
Prints every line Orca spoke. Run on a display of its own:
run-on-display.sh orca.py VELMORA TITLE_HEADER"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

if not shutil.which("orca"):
    print("SKIP: orca is not installed (make test installs it)")
    sys.exit(77)
# Orca refuses to start beside another of the same user's (the player's own
# screen reader, say), and ending that one is not this suite's to do.
if subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"], stdout=subprocess.DEVNULL).returncode == 0:
    print("SKIP: another Orca is running for this user")
    sys.exit(77)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import atspi_common  # noqa: E402
from atspi_common import check, exit_status, summary  # noqa: E402
import drive  # noqa: E402

atspi_common.on_failure = drive.explain

velmora = sys.argv[1]
with open(sys.argv[2], encoding="utf-8") as header:
    title = re.search(r'kMainWindowTitle\[\] = "([^"]*)"', header.read()).group(1)

work = tempfile.mkdtemp()
# Orca's debug output goes to a terminal of ours: Python writes a terminal line
# by line, where a file would get it in blocks, seconds late.
terminal, log = os.openpty()
output = []


def read_log():
    while True:
        try:
            chunk = os.read(terminal, 65536)
        except OSError:
            return
        if not chunk:
            return
        output.append(chunk)


threading.Thread(target=read_log, daemon=True).start()
spoken_before = 0


def spoken():
    """Every line Orca has spoken so far."""
    return re.findall(r"SPEECH OUTPUT: '(.*?)'", b"".join(output).decode("utf-8", "replace"))


def hears(keys, *expected, seconds=10):
    """Presses the keys, then waits until Orca has said each expected text since."""
    global spoken_before
    spoken_before = len(spoken())
    if keys:
        drive.press(*keys.split())
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        said = spoken()[spoken_before:]
        if all(any(e in line for line in said) for e in expected):
            break
        time.sleep(0.05)
    said = spoken()[spoken_before:]
    for line in said:
        print("  %-24s %s" % (keys, line))
    missing = [e for e in expected if not any(e in line for line in said)]
    check(not missing, "after %r Orca says %r" % (keys, missing))


env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
program = subprocess.Popen([velmora], env=env)
orca = None
try:
    window = drive.window(title)
    check(window and drive.focus(window), "the main window is up, with the focus")
    # Never --replace: it would end every other Orca on the machine.
    orca = subprocess.Popen(["orca", "-d", "speech", "-d", "braille", "-u", os.path.join(work, "prefs"),
                             "--debug-file", os.ttyname(log)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    hears("", title, seconds=30)

    # Each row: what it shows, then keys and what Orca says after each, in order.
    moves = [("A game, X taking the top row, the last move read before the result:",
              [("1", "X push button", "שורה 1, עמודה 1, תור O"), ("4", "O push button", "שורה 2, עמודה 1, תור X"),
               ("2", "X push button"), ("5", "O push button"), ("3", "X, שורה 1, עמודה 3. האיקס ניצח dialog"),
               ("space", "לוח ריק, תור X"), ("0", "X 1, O 0, תיקו 0")]),
             ("The board by the arrows, and a move there; F2 empties it:",
              [("5", "X push button", "שורה 2, עמודה 2, תור O"), ("Up", "שורה 1, עמודה 2, תור O push button"),
               ("Return", "O שורה 1, עמודה 2, תור X"), ("F2", "לוח ריק, תור X")]),
             ("A draw:", [(key, "push button") for key in "51372846"] + [("9", "X, שורה 3, עמודה 3. תיקו dialog"),
                                                                      ("space", "לוח ריק, תור X")]),
             ("O opens from now on, through the menus, read in reading order:",
              [("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Down", "מי ראשון?"), ("Return", "מי ראשון? dialog"),
               ("Down", "שחקן מספר שנים תמיד הראשון - כלומר ה-O", "תור O"), ("Tab", "אישור push button"),
               ("space", "push button")]),
             ("O wins the top row under always O:",
              [(key, "push button") for key in "1425"] + [("3", "O, שורה 1, עמודה 3. העיגול ניצח dialog"),
                                                        ("space", "לוח ריק, תור O")]),
             ("The tallies cleared:",
              [("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Return", "האם אתם בטוחים שאתם רוצים לנקות את התוצאות"),
               ("Return", "push button"), ("0", "X 0, O 0, תיקו 0")]),
             ("About, its texts by Tab:",
              [("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Right", "איך משחקים"), ("Down", "אודות"),
               ("Return", "About Velmora dialog"), ("Tab", "Velmora"), ("Tab", "Version 1.2.0"), ("Tab", "תאור התוכנה"),
               ("Tab", "נכתב בידי צוות הבית"), ("Tab", "דוא\"ל: velmora@example.org"), ("Tab", "www.example.org"),
               ("Escape", title)]),
             ("Leaving:", [("ctrl+x", "אתה בטוח שאתה רוצה לצאת?")])]
    for what, steps in moves:
        print(what)
        # Each row from the same start, whatever the one before left open.
        check(drive.settle(window), "%s: no menu or other window open, the main window focused" % what)
        for keys, *expected in steps:
            hears(keys, *expected)
    drive.press("Return")
    status = exit_status(program)
    check(status == 0, "Enter answers Yes and the program ends, status %r" % status)
finally:
    for process in (orca, program):
        if process is not None and process.poll() is None:
            process.kill()
            process.wait()
    shutil.rmtree(work, ignore_errors=True)

sys.exit(summary())
