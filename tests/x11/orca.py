#!/usr/bin/python3
"""What a blind player hears and feels: the built program under Orca, the
screen reader of the Linux desktop, speaking for real (speech.py) and writing
its braille lines to its debug log, played by the keyboard alone. Each step
presses keys, then waits until every text expected has been played to its end:
a text that was cut short, or never begun, was not heard. Games won by X and
by O and a draw, each result left by Enter; the keypad with NumLock on under
Orca's desktop and laptop layouts; who opens, the tallies cleared, About, and
leaving with Ctrl+X. Prints every utterance and its fate.
Run on a display of its own: run-on-display.sh orca.py VELMORA TITLE_HEADER"""
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import speech  # noqa: E402

if not shutil.which("orca"):
    print("SKIP: orca is not installed (make test installs it)")
    sys.exit(77)
if speech.missing():
    print("SKIP: no real speech here (make test installs it): %s" % speech.missing())
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
prefs = os.path.join(work, "prefs")
voice = speech.Speech(work)
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


read = {"chunks": 0, "rest": b"", "braille": []}


def braille():
    """What a 32-cell display has shown so far, line by line."""
    # Read on from the last call: Orca's log grows by megabytes.
    chunks = len(output)
    data = read["rest"] + b"".join(output[read["chunks"]:chunks])
    whole = data.rfind(b"\n") + 1
    read.update(chunks=chunks, rest=data[whole:])
    read["braille"] += re.findall(r"VISIBLE:  '(.*)', cursor=", data[:whole].decode("utf-8", "replace"))
    return read["braille"]


def utterances():
    """Every message speech began so far, as (text, fate)."""
    return [(html.unescape(re.sub(r"<[^>]*>", "", text)), fate) for text, fate in voice.messages()]


def hears(keys, *expected, seconds=25):
    """Presses the keys, then waits until each expected text has been played to
    its end since. "began:" texts need only have begun (the program got the
    key; what is said is cut by the next); "braille:" texts are looked for on
    the braille display instead; "not:" texts must not have been said at all."""
    said_before, shown_before = len(utterances()), len(braille())
    if keys:
        drive.press(*keys.split())
    kinds = ("began:", "braille:", "not:")
    spoken = [e for e in expected if not e.startswith(kinds)]
    begun, shown, unsaid = ([e[len(k):] for e in expected if e.startswith(k)] for k in kinds)

    def missing():
        said = utterances()[said_before:]
        return ([e for e in spoken if not any(e in text and fate == "played" for text, fate in said)]
                + ["began: " + e for e in begun if not any(e in text for text, _ in said)]
                + ["braille: " + e for e in shown if not any(e in line for line in braille()[shown_before:])])

    deadline = time.monotonic() + drive.time_left(seconds)
    while missing() and time.monotonic() < deadline:
        time.sleep(0.05)
    for text, fate in utterances()[said_before:]:
        print("  %-10s %-8s %s" % (keys, fate or "playing", text))
    for line in braille()[shown_before:]:
        print("  %-10s braille  %s" % (keys, line))
    check(not missing(), "after %r, played in full or shown: %r" % (keys, missing()))
    wrong = [e for e in unsaid if any(e in text for text, _ in utterances()[said_before:])]
    check(not wrong, "after %r, not said: %r" % (keys, wrong))


def start_orca(layout):
    """Orca, speaking Hebrew as a Hebrew player's does (an English voice spells
    Hebrew out letter by letter), briskly and without echoing keys, with the
    desktop (1) or laptop (2) keyboard layout. Orca's defaults stand for every
    other setting."""
    os.makedirs(prefs, exist_ok=True)
    hebrew = {"established": True, "rate": 100, "family": {"name": None, "lang": "he", "dialect": None}}
    profile = {"profile": ["Default", "default"], "keyboardLayout": layout, "enableKeyEcho": False,
               "voices": {"default": hebrew}}
    with open(os.path.join(prefs, "user-settings.conf"), "w", encoding="utf-8") as f:
        json.dump({"general": {}, "pronunciations": {}, "keybindings": {}, "profiles": {"default": profile}}, f)
    # Never --replace: it would end every other Orca on the machine.
    process = subprocess.Popen(["orca", "-u", prefs, "--debug-file", os.ttyname(log)], env=voice.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    hears("", title, seconds=40)
    return process


def board(cell, mark, turn=None):
    """A cell as readers say it: "X, שורה 1, עמודה 3, תור O"."""
    said = "%s, שורה %d, עמודה %d" % (mark, (cell - 1) // 3 + 1, (cell - 1) % 3 + 1)
    return said + (", תור " + turn if turn else "")


# The keypad's keys by cell, as keycodes: the key's place, whatever NumLock says.
KEYPAD = {1: "@79", 2: "@80", 3: "@81", 4: "@83", 5: "@84", 6: "@85", 7: "@87", 8: "@88", 9: "@89"}


def moves(cells, first="X", keypad=False, heard="", shown="braille:"):
    """Steps of a game by the digit keys (or the keypad), each move heard in
    full and brailled with the next turn; or only begun, and not looked for on
    braille, when "began:" and "" say so."""
    steps, mark = [], first
    for cell in map(int, cells):
        other = "O" if mark == "X" else "X"
        said = board(cell, mark, other)
        steps.append((KEYPAD[cell] if keypad else str(cell), heard + said) + ((shown + said,) if shown else ()))
        mark = other
    return steps


OPENS_O = "שחקן מספר שנים תמיד הראשון"  # what follows, Orca says with its punctuation
# Each row: what it shows, then keys and what is heard (and shown) after each.
# Texts heard hold no punctuation but commas and question marks: Orca says
# the others as words.
desktop_rows = [
    ("The keypad with NumLock on, Orca's desktop layout; keypad Enter on a taken cell:",
     [("Num_Lock", "num lock")] + moves("19", keypad=True) + [("@104", "המשבצת תפוסה", "braille:המשבצת תפוסה"),
                                                 ("F2", "לוח ריק, תור X")]),
    ("X takes the top row; the last move without a turn, the result on braille; Enter leaves it:",
     moves("1425") + [("3", board(3, "X") + " dialog", "האיקס ניצח, חזרה למשחק", "braille:האיקס ניצח",
                       "not:" + board(3, "X", "O")),
                      ("Return", "לוח ריק, תור X", "braille:לוח ריק, תור X"),
                      ("0", "X 1, O 0, תיקו 0", "braille:X 1, O 0, תיקו 0")]),
    ("O takes the top row; the arrows, the board's edge, a taken cell and Escape say so:",
     moves("5") + [("Up", "שורה 1, עמודה 2, תור O"), ("Up", "קצה הלוח"),
                   ("Return", board(2, "O", "X"), "braille:" + board(2, "O", "X")),
                   ("5", "המשבצת תפוסה"), ("Escape", "אין מה לבטל")]
     + moves("419", heard="began:", shown="") + [("3", board(3, "O") + " dialog", "העיגול ניצח, חזרה למשחק"),
                                  ("Return", "לוח ריק, תור X")]),
    ("A draw, the moves as fast as Orca begins each:", moves("51372846", heard="began:", shown="") + [("9", board(9, "X") + " dialog", "תיקו, חזרה למשחק"),
                                     ("Return", "לוח ריק, תור X")]),
    ("Who opens: keys that change nothing say so; the choice said as the window opens again:",
     [("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Down", "מי ראשון?"), ("Return", "מי ראשון? dialog"),
      ("Escape", "אין מה לבטל"), ("Return", "הבחירה לא השתנתה"), ("Down", OPENS_O), ("Tab", "אישור"),
      ("space", "תור O", "braille:תור O"), ("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Down", "מי ראשון?"),
      ("Return", "כרגע נבחר " + OPENS_O), ("space", title)]),
    ("The tallies cleared, and said to be:",
     [("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Return", "האם אתם בטוחים שאתם רוצים לנקות את התוצאות"),
      ("Return", "התוצאות נוקו, X 0, O 0, תיקו 0")]),
    ("About, its short texts by Tab:",
     [("F10", "חדש"), ("Right", "ניקוי תוצאות"), ("Right", "איך משחקים"), ("Down", "אודות"),
      ("Return", "began:About Velmora dialog"), ("Tab", "Velmora"), ("Tab", "Version 1"), ("Escape", title)]),
]
laptop_rows = [
    ("The keypad with NumLock on, Orca's laptop layout:",
     [("F2", "לוח ריק, תור O")] + moves("19", first="O", keypad=True) + [("Escape", "אין מה לבטל")]),
]

env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
program = subprocess.Popen([velmora], env=env)
orca = None
try:
    window = drive.window(title)
    check(window and drive.focus(window), "the main window is up, with the focus")
    for layout, rows in ((1, desktop_rows), (2, laptop_rows)):
        speech.end(orca)
        orca = start_orca(layout)
        for what, steps in rows:
            print(what)
            began = time.monotonic()
            # Each row from the same start, whatever the one before left open.
            check(drive.settle(window), "%s: no menu or other window open, the main window focused" % what)
            for keys, *expected in steps:
                hears(keys, *expected)
            print("  (%.1f s)" % (time.monotonic() - began))
    print("Leaving:")
    hears("ctrl+x", "אתה בטוח שאתה רוצה לצאת?")
    drive.press("Return")
    status = exit_status(program)
    check(status == 0, "Enter answers Yes and the program ends, status %r" % status)
finally:
    for process in (orca, program):
        speech.end(process)
    voice.end()
    if atspi_common.counts["failed"] and os.environ.get("VELMORA_TEST_ARTIFACTS"):
        # What Orca did and what speech played, for the failure's cause.
        with open(os.path.join(os.environ["VELMORA_TEST_ARTIFACTS"], "orca.log"), "wb") as f:
            f.write(b"".join(output))
        shutil.copy(voice.log, os.environ["VELMORA_TEST_ARTIFACTS"])
    shutil.rmtree(work, ignore_errors=True)

sys.exit(summary())
