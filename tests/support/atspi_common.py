"""What the AT-SPI tests share: checks that count, waiting for conditions
(never for fixed times), and walking the accessibility tree."""
import os
import re
import subprocess
import sys
import time

# Importing this skips the test (status 77) where pyatspi is missing.
try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import GLib
    import pyatspi
except (ImportError, ValueError) as missing:
    print("SKIP: pyatspi is not installed (make test installs it): %s" % missing)
    sys.exit(77)

counts = {"passed": 0, "failed": 0}
# Called with what failed, after it is printed: a suite on a display sets it
# to say what the display showed (drive.explain).
on_failure = None
# Seconds since the epoch by which every wait ends (set by the script that
# starts the suite, ahead of ctest's limit).
DEADLINE = float(os.environ.get("VELMORA_DEADLINE", "inf"))


def check(condition, what):
    counts["passed" if condition else "failed"] += 1
    if not condition:
        print("FAIL: " + what, flush=True)
        if on_failure:
            on_failure(what)


def summary():
    """The closing line, and the exit status."""
    print("%d passed, %d failed" % (counts["passed"], counts["failed"]))
    return 1 if counts["failed"] else 0


def exit_status(program, seconds=10):
    """The program's exit status once it ends, or None if it is still running then."""
    try:
        return program.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        return None


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(condition, seconds=10):
    """The condition's first true value, or None once the time is up."""
    deadline = time.monotonic() + max(0.0, min(seconds, DEADLINE - time.time()))
    while True:
        pump()
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.02)


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def find(root, test):
    for node, _ in walk(root):
        try:
            if test(node):
                return node
        except Exception:  # an object gone while walking
            pass
    return None


def in_app(test):
    """The first object of the running game that passes the test."""
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Velmora":
            return find(app, test)
    return None


def labelled_by(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def place_of(cell):
    """A board cell's place, from its name ("X, שורה 1, עמודה 2, תור O"), or ""."""
    found = re.search(r"שורה \d, עמודה \d", cell.name)
    return found.group(0) if found else ""


def mark_of(cell):
    """A board cell's mark, from its name, or "" for an empty cell."""
    return cell.name[0] if cell.name[:3] in ("X, ", "O, ") else ""
