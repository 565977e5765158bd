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
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_common import check, exit_status, summary  # noqa: E402
import drive  # noqa: E402

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

    print("A game, X taking the top row:")
    hears("1", "X push button", "שורה 1, עמודה 1, תור O")
    hears("4", "O push button", "שורה 2, עמודה 1, תור X")
    hears("2", "X push button", "שורה 1, עמודה 2, תור O")
    hears("5", "O push button", "שורה 2, עמודה 2, תור X")
    hears("3", "האיקס ניצח dialog", "חזרה למשחק push button")  # the line's result may cut the move short
    hears("space", "push button")  # back on the board
    hears("0", "X 1, O 0, תיקו 0")
    print("The board by the arrows, and a move there:")
    hears("5", "X push button", "שורה 2, עמודה 2, תור O")
    hears("Up", "שורה 1, עמודה 2, תור O push button")
    hears("Return", "O שורה 1, עמודה 2, תור X")
    print("O opens from now on, through the menus:")
    hears("F10", "חדש")
    hears("Right", "ניקוי תוצאות")
    hears("Down", "?מי ראשון")
    hears("Return", "?מי ראשון dialog")
    hears("Down", "O-שחקן מספר שנים")
    hears("Tab", "אישור push button")
    hears("space", "push button")
    print("The tallies cleared:")
    hears("F10", "חדש")
    hears("Right", "ניקוי תוצאות")
    hears("Return", "האם אתם בטוחים שאתם רוצים לנקות את התוצאות")
    hears("Return", "push button")
    hears("0", "X 0, O 0, תיקו 0")
    print("Leaving:")
    hears("ctrl+x", "?אתה בטוח שאתה רוצה לצאת")
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
