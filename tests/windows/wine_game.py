#!/usr/bin/python3
"""The Windows program as a player gets it, under Wine on this display: the
installer installs it for the player alone, the installed program starts, a
game played by clicks ends in the X-wins window and is counted, Ctrl+X asks
and ends it, and the uninstaller leaves nothing behind. Then the zip's copy
starts at 192 dpi, twice the size. Each window is grabbed into GRABS.

  wine_game.py SETUP.EXE ZIP GRABS    (run by run-on-display.sh; WINEPREFIX set)"""
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "x11"))
import drive  # noqa: E402

MAIN = "תוכנת ה Velmora של צוות הבית"
WINX = "האיקס ניצח"
EXIT = "יציאה"
CLIENT_HEIGHT = 416
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)
        drive.explain(what)
    return ok


def wine(*args, **kw):
    return subprocess.run(["wine", *args], capture_output=True, text=True, timeout=drive.time_left(120), **kw)


def unix_path(windows_path):
    return subprocess.run(["winepath", "-u", windows_path], capture_output=True, text=True).stdout.strip()


def registry(value):
    out = wine("reg", "query", UNINSTALL_KEY, "/v", value).stdout
    for line in out.splitlines():
        if value in line:
            return line.split("REG_SZ", 1)[-1].strip()
    return None


def cell(window, k):
    """A cell's centre in the window, cells 1 to 9 in reading order, below the menu bar."""
    g = drive.server().create_resource_object("window", window).get_geometry()
    column, row = (k - 1) % 3, (k - 1) // 3
    return (240 + 1920 * column + 547) // 15, g.height - CLIENT_HEIGHT + (360 + 1800 * row + 547) // 15


def click(window, k):
    x, y = cell(window, k)
    subprocess.run(["xdotool", "mousemove", "--window", str(window), str(x), str(y), "click", "1"], check=True)


def tally(window):
    """The X tally's box (Labelwinxnum) as drawn: it changes when a win is counted."""
    shown = drive.image(window)
    top = shown.height - CLIENT_HEIGHT
    return shown.crop((5760 // 15, top + 1560 // 15, 6375 // 15, top + 2055 // 15)).tobytes()


def drawn(window):
    """The window as drawn: Wine maps a window before it paints it (all black)."""
    def painted():
        shot = drive.image(window)
        low, high = shot.convert("L").getextrema()
        return shot if low != high else None
    return drive.until(painted, waiting_for="the window painted") or drive.image(window)


def play(exe):
    program = subprocess.Popen(["wine", exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        main = drive.window(MAIN, 90)  # Wine's first start of a prefix is slow
        if not check(main is not None, "the installed program starts"):
            return
        drive.focus(main)
        drawn(main).save(os.path.join(GRABS, "main.png"))
        before = tally(main)
        for k in (1, 4, 2, 5, 3):
            click(main, k)
        winx = drive.window(WINX)
        if not check(winx is not None, "a game by clicks ends in the X-wins window"):
            return
        drawn(winx).save(os.path.join(GRABS, "winx.png"))
        drive.key(winx, "space")
        check(drive.gone(WINX), "space leaves the X-wins window")
        check(drive.until(lambda: tally(main) != before, waiting_for="the X tally to change"),
              "the win is counted")
        drive.key(main, "ctrl+x")
        question = drive.window(EXIT)
        if not check(question is not None, "Ctrl+X asks"):
            return
        drawn(question).save(os.path.join(GRABS, "exit.png"))
        # A click on the window it blocks brings it forward, focused.
        click(main, 5)
        check(drive.until(lambda: drive._focused(question), waiting_for="the question focused after a click on the board"),
              "a click on the main window brings the question forward")
        drive.key(question, "Return")
        check(drive.until(lambda: program.poll() is not None, waiting_for="the program to end"), "yes ends it")
    finally:
        if program.poll() is None:
            program.kill()


def at_twice(exe):
    """At 192 dpi, which Windows scales by 2: the main window twice the size, grabbed."""
    desktop = r"HKCU\Control Panel\Desktop"
    wine("reg", "add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "192", "/f")
    subprocess.run(["wineserver", "-w"], timeout=drive.time_left(60))  # read as Wine starts anew
    program = subprocess.Popen(["wine", exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        main = drive.window(MAIN, 90)
        if check(main is not None, "the program starts at 192 dpi"):
            width = drive.server().create_resource_object("window", main).get_geometry().width
            check(width == 2 * 483, "the main window is twice as wide (%d pixels)" % width)
            drawn(main).save(os.path.join(GRABS, "main@2x.png"))
    finally:
        program.kill()
        program.wait()
        wine("reg", "add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "96", "/f")


def main(setup, zipped, grabs):
    global GRABS
    GRABS = grabs
    os.makedirs(grabs, exist_ok=True)
    check(wine(setup, "/S", "/CurrentUser").returncode == 0, "the installer runs for the player alone")
    where = registry("InstallLocation")
    check(where is not None, "Windows' list of programs holds Velmora")
    folder = unix_path(where) if where else ""
    exe = os.path.join(folder, "velmora.exe")
    check(os.path.exists(exe), "velmora.exe is installed")
    start_menu = unix_path(r"C:\users\%s\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Velmora.lnk"
                           % os.environ.get("USER", "root"))
    check(os.path.exists(start_menu), "a Start-menu entry")
    if os.path.exists(exe):
        play(exe)
    if where:
        # As Windows' list of programs runs it: it copies itself away, then removes all.
        wine(os.path.join(folder, "uninstall.exe"), "/S", "/CurrentUser")
        check(drive.until(lambda: not os.path.exists(folder), waiting_for="the program's folder to go"),
              "the uninstaller leaves no file behind")
    check(not os.path.exists(start_menu), "nor the Start-menu entry")
    check(registry("InstallLocation") is None, "nor the entry in the list of programs")
    with tempfile.TemporaryDirectory() as unpacked:
        zipfile.ZipFile(zipped).extractall(unpacked)
        exe = [os.path.join(r, "velmora.exe") for r, _, f in os.walk(unpacked) if "velmora.exe" in f]
        if check(len(exe) == 1, "the zip holds velmora.exe"):
            at_twice(exe[0])
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
