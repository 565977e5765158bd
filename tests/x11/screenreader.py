#!/usr/bin/python3
"""The built program as a screen reader meets it, over AT-SPI: the board's nine
cells by their names (mark, place, whose turn), role names in the player's
language, a game won by X with the digit keys alone, each move heard as a name
change on its cell, the result window as a modal dialog with no decorative
marks, left by its button's action, and the tallies read through their headers. Prints the main window's tree as a reader walks it.
Run on a display of its own: run-on-display.sh screenreader.py VELMORA TITLE_HEADER"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import atspi_common  # noqa: E402
from atspi_common import (GLib, check, find, in_app, labelled_by, mark_of, place_of, pyatspi, summary,  # noqa: E402
                          wait_for, walk)
import drive  # noqa: E402

atspi_common.on_failure = drive.explain

velmora = sys.argv[1]
with open(sys.argv[2], encoding="utf-8") as header:  # the main window's title, from its one source
    title = re.search(r'kMainWindowTitle\[\] = "([^"]*)"', header.read()).group(1)

heard = []  # (place, name) of every name change


def on_name_change(event):
    try:
        heard.append((place_of(event.source), mark_of(event.source)))
    except Exception:
        pass


# Qt's own strings in the player's language: the role names it gives readers.
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", LANGUAGE="he")
program = subprocess.Popen([velmora], env=env)
try:
    frame = wait_for(lambda: in_app(lambda n: n.getRole() == pyatspi.ROLE_FRAME and n.name == title))
    check(frame is not None, "the main window is in the accessibility tree")
    if frame is None:
        raise SystemExit(1)

    print("The main window as a reader walks it:")
    for node, depth in walk(frame):
        extra = []
        if node.description:
            extra.append("description %r" % node.description)
        if labelled_by(node):
            extra.append("labelled by %r" % labelled_by(node))
        print("  " * (depth + 1) + "%s %r%s" % (node.getRoleName(), node.name,
                                                 (", " + ", ".join(extra)) if extra else ""))

    cells = {}
    for node, _ in walk(frame):
        if place_of(node):
            cells[place_of(node)] = node
    check(len(cells) == 9, "nine cells named by their places, found %d" % len(cells))
    check(all(c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name.endswith(", תור X") and not mark_of(c)
              for c in cells.values()), "the cells are buttons, empty, X to play")
    roles = {frame.getLocalizedRoleName(), next(iter(cells.values())).getLocalizedRoleName()}
    check(roles == {"מסגרת", "כפתור לחיצה"}, "role names in the player's language: %r" % roles)
    check(not any(n.name == "" and not n.childCount and n.getRole() != pyatspi.ROLE_PUSH_BUTTON
                  and n.parent.getRole() != pyatspi.ROLE_NOTIFICATION  # a notice, said when there is one
                  for n, _ in walk(frame)), "no unnamed lines or colour blocks in the tree")
    indicator = find(frame, lambda n: labelled_by(n) == "תור מי עכשיו ")
    check(indicator is not None and indicator.name == "X", "the indicator, labelled by its header, reads X")

    pyatspi.Registry.registerEventListener(on_name_change, "object:property-change:accessible-name")
    window = drive.window(title)
    # Keys as fast as a typist's, while the reader holds each until it has
    # seen it: the second Right still moves on, and O lands two cells along.
    drive.key(window, "1")
    drive.press("Right", "Right", "Return")
    check(wait_for(lambda: ("שורה 1, עמודה 3", "O") in heard, 5), "Right, Right, Enter from cell 1 place O in cell 3")
    drive.key(window, "F2")
    check(wait_for(lambda: all(not mark_of(c) for c in cells.values())), "F2 empties the board")
    moves = [(1, "X"), (4, "O"), (2, "X"), (5, "O"), (3, "X")]  # X takes the top row
    for cell, mark in moves:
        place = "שורה %d, עמודה %d" % ((cell - 1) // 3 + 1, (cell - 1) % 3 + 1)
        drive.key(window, str(cell))
        check(wait_for(lambda: (place, mark) in heard, 5), "key %d heard as %s on %s" % (cell, mark, place))

    def result_dialog():
        return in_app(lambda n: n.getRole() == pyatspi.ROLE_DIALOG and n.name == "X, שורה 1, עמודה 3"
                      and n.getState().contains(pyatspi.STATE_SHOWING))

    dialog = wait_for(result_dialog)
    check(dialog is not None, "the result comes up as a dialog named by the last move")
    if dialog is not None:
        check(dialog.getState().contains(pyatspi.STATE_MODAL), "the result dialog is modal")
        names = [n.name for n, depth in walk(dialog) if depth > 0]
        check("x" not in names and "O" not in names, "no decorative marks in the dialog: %r" % names)
        button = find(dialog, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
        check(button is not None and button.name == "האיקס ניצח, חזרה למשחק", "the dialog's button, with the result")
        if button is not None:
            button.queryAction().doAction(0)
        check(wait_for(lambda: result_dialog() is None), "its action leaves the dialog")

    tallies = {}
    for node, _ in walk(frame):
        header = labelled_by(node)
        if header in (" X", " O", "תיקו"):
            tallies[header] = node
    check(wait_for(lambda: tallies.get(" X") is not None and tallies[" X"].name == "1"),
          "the X tally, labelled by its header, reads 1")
    check(tallies.get(" O") is not None and tallies[" O"].name == "0", "the O tally reads 0")
    check(tallies.get("תיקו") is not None and tallies["תיקו"].name == "0", "the draws read 0")
    check(all(not mark_of(c) for c in cells.values()), "the board is empty again")

    # Under every kind of modal window, a reader's actions on the main window
    # are refused as clicks are: cells, push buttons and menu items.
    def named(role, name):
        return find(frame, lambda n: n.getRole() == role and n.name == name)

    def press(node):
        action = node.queryAction()
        action.doAction([action.getName(i).lower() for i in range(action.nActions)].index("press"))

    def shown_modal(title):  # named by its title in reading order, or a result's by its button
        return in_app(lambda n: n.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)
                      and (n.name.endswith(title) or any(c.name.startswith(title + ", ") for c in n if c))
                      and n.getState().contains(pyatspi.STATE_SHOWING))

    def cell(k):
        return cells["שורה %d, עמודה %d" % ((k - 1) // 3 + 1, (k - 1) % 3 + 1)]

    new_game = named(pyatspi.ROLE_PUSH_BUTTON, "משחק חדש")
    menu = {name: named(pyatspi.ROLE_MENU_ITEM, name) for name in ("איך משחקים", "אודות")}
    check(all(menu.values()), "the menu items are in the tree")
    # How each opens after a new game (its keys, then the menu and item chosen, if any), its
    # title, and its button that leaves it.
    kinds = [("1 4 2 5 3", None, "האיקס ניצח", "חזרה למשחק"), ("1 4 2 5 9 6", None, "העיגול ניצח", "חזרה למשחק"),
             ("5 1 3 7 2 8 4 6 9", None, "תיקו", "חזרה למשחק"), ("5", (1, 1), "מי ראשון?", "אישור"),
             ("5", (2, 0), "איך משחקים?", "חזרה"), ("5", (2, 1), "About Velmora", "אישור"),
             ("5 ctrl+x", None, "יציאה", "לא"), ("5", (1, 0), "Velmora", "לא")]
    for keys, menu_item, title, leave in kinds:
        # Each row from the same start, whatever the one before left open.
        if not drive.settle(window):
            check(False, "%s: no menu or other window open, the main window focused" % title)
            continue
        drive.key(window, "F2")
        wait_for(lambda: all(not mark_of(cell(k)) for k in range(1, 10)))
        drive.key(window, *keys.split())
        if menu_item and not drive.menu(window, *menu_item):
            check(False, "menu %d, item %d chosen" % menu_item)
            continue
        modal = wait_for(lambda: shown_modal(title), 30)  # a walk of the whole tree, slow on a busy machine
        marks = "".join(mark_of(cell(k)) or " " for k in range(1, 10))
        check(modal is not None, "%s opens" % title)
        if modal is None:
            continue
        press(new_game)
        empty = [k for k in range(1, 10) if marks[k - 1] == " "]
        if empty:
            press(cell(empty[0]))
        other = "איך משחקים" if title == "About Velmora" else "אודות"
        try:
            press(menu[other])
        except GLib.Error:  # the command ran, and waits in the window it opened
            check(False, "under %s the menu item %s ran its command" % (title, other))
            break
        now = "".join(mark_of(cell(k)) or " " for k in range(1, 10))  # read after the actions ran
        check(now == marks, "under %s the board stays %r, not %r" % (title, marks, now))
        check(shown_modal("איך משחקים?" if title == "About Velmora" else "About Velmora") is None,
              "under %s a menu item opens nothing" % title)
        press(find(modal, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name.endswith(leave)))
        check(wait_for(lambda: shown_modal(title) is None), "%s left by its button" % title)
finally:
    program.kill()
    program.wait()

sys.exit(summary())
