"""Reads the window through the desktop's accessibility tree, as a screen reader does.

Run by atspi_window.sh inside a session bus of its own; it starts its own X server:
    atspi_window.py PLENVOY [SCREENSHOT_FOLDER]
The window's controls must carry their names; a run started with the "Start Changing"
button's action must show "Stop" and a progress bar whose value and description are read
out, and stopping it must end with "Stopped after K of N files."."""
import ctypes
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

FILES = 30000


WATCHED = []  # processes whose early end fails the test at once


def wait_for(what, find, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        for process in WATCHED:
            if process.poll() is not None:
                sys.exit("FAIL: %s ended (%d) while waiting for %s"
                         % (process.args[0], process.returncode, what))
        try:
            found = find()
        except GLib.GError:
            found = None  # a box went away while it was read
        if found:
            return found
        time.sleep(0.05)
    sys.exit("FAIL: no %s within %d s" % (what, seconds))


# The rows of the list and the drop-down's options are not walked: there are thousands.
LEAVES = ("tree", "table", "list", "combo box")


def nodes(root):
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        if node.getRoleName() not in LEAVES:
            stack.extend(child for child in node)


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def named(app, role, name):
    for node in nodes(app):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def box_saying(app, pattern):
    """The push buttons of the box whose text matches, by name; None while it is not there."""
    for node in nodes(app):
        if node.getRoleName() in ("dialog", "alert"):
            texts = [n.name for n in nodes(node) if n.getRoleName() == "label"]
            if any(re.search(pattern, t or "") for t in texts):
                return {n.name: n for n in nodes(node) if n.getRoleName() == "push button"}
    return None


def screenshot(folder, name):
    if folder:
        subprocess.run(["import", "-window", "root", os.path.join(folder, name)], check=True)


def reachable(display):
    """Whether a client reaches the server at that display the way the window will, through
    libxcb: it tries the abstract socket first, which a server outside this machine's file
    system (another sandbox on the same network) may hold under the same number."""
    xcb = ctypes.CDLL("libxcb.so.1")
    xcb.xcb_connect.restype = ctypes.c_void_p
    xcb.xcb_connect.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
    xcb.xcb_connection_has_error.argtypes = [ctypes.c_void_p]
    xcb.xcb_disconnect.argtypes = [ctypes.c_void_p]
    connection = xcb.xcb_connect(display.encode(), None)
    failed = xcb.xcb_connection_has_error(connection)
    xcb.xcb_disconnect(connection)
    return failed == 0


def start_x_server():
    """Starts Xvfb on a display number drawn at random, far from the usual ones, and returns
    once a client reaches it; a number that is taken, or that a client can't reach, is left
    for another."""
    for _ in range(8):
        number = random.randrange(200, 30000)
        read_end, write_end = os.pipe()
        server = subprocess.Popen(["Xvfb", ":%d" % number, "-displayfd", str(write_end),
                                   "-nolisten", "tcp", "-screen", "0", "800x600x24"],
                                  pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as ready:
            started = ready.readline().strip() == str(number).encode()
        display = ":%d" % number
        if started and reachable(display):
            os.environ["DISPLAY"] = display
            WATCHED.append(server)
            return server
        server.kill()
        server.wait()
    sys.exit("FAIL: no X server could be started that a client reaches")


def main():
    program = sys.argv[1]
    shots = sys.argv[2] if len(sys.argv) > 2 else ""
    server = start_x_server()
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    work = tempfile.mkdtemp(prefix="plenvoy-atspi.")
    window = None
    try:
        for folder in ("config", "out", "in", "runtime"):
            os.mkdir(os.path.join(work, folder), 0o700)
        for i in range(FILES):
            with open(os.path.join(work, "in", "f%05d.txt" % i), "w") as f:
                f.write("x")
        with open(os.path.join(work, "config", "Marnoval.ini"), "w") as f:
            f.write("[Plenvoy]\nCombo1=1\nText1=%s/out\n" % work)
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_ACCESSIBILITY="1", XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=os.path.join(work, "runtime"), HOME=work)
        window = subprocess.Popen([program, os.path.join(work, "in")], env=env)
        # A server that went away before the window reached it (another one on the same
        # number elsewhere, under load) is replaced once; the window is started again.
        for _ in range(2):
            time.sleep(0.5)
            if window.poll() is None or server.poll() is None and reachable(os.environ["DISPLAY"]):
                break
            server.kill()
            server.wait()
            WATCHED.remove(server)
            server = start_x_server()
            launcher.terminate()
            launcher.wait()
            launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher",
                                         "--launch-immediately"])
            window = subprocess.Popen([program, os.path.join(work, "in")],
                                      env=dict(env, DISPLAY=os.environ["DISPLAY"]))
        WATCHED.append(window)
        app = wait_for("application in the tree", lambda: application("plenvoy"))

        expected = [
            ("tree", "Files to copy"),
            ("push button", "Add File(s)"),
            ("push button", "Add All Files In Folder"),
            ("push button", "Start Changing"),
            ("push button", "Clear List"),
            ("push button", "Load Sample/Example Files"),
            ("push button", "Stamp settings"),
            ("push button", "Browse for the output folder"),
            ("text", "Save Results To This Folder"),
            ("panel", "Options"),
            ("progress bar", "Progress of the run"),
        ]
        missing = [e for e in expected if named(app, *e) is None]
        if missing:
            sys.exit("FAIL: not in the tree: %s" % missing)
        ampersands = [n.name for n in nodes(app) if "&" in (n.name or "")]
        if ampersands:
            sys.exit("FAIL: names with '&': %s" % ampersands)
        listed = named(app, "tree", "Files to copy")
        wait_for("listed files", lambda: listed.queryTable().nRows == FILES)

        press(named(app, "push button", "Start Changing"))
        stop = wait_for("Stop face", lambda: named(app, "push button", "Stop"))
        bar = named(app, "progress bar", "Progress of the run")
        wait_for("progress read out", lambda: bar.queryValue().currentValue > 0)
        if not re.match(r"^\d[\d,]* of \d[\d,]* files", bar.description or ""):
            sys.exit("FAIL: progress description %r" % bar.description)
        screenshot(shots, "running.png")

        press(stop)
        buttons = wait_for("the stop question",
                           lambda: box_saying(app, r"^Stop after the current file\?$"))
        press(buttons["Yes"])
        buttons = wait_for("the closing box",
                           lambda: box_saying(app, r"^Stopped after \d+ of %d files\.$" % FILES))
        if "Open Folder" not in buttons or "OK" not in buttons:
            sys.exit("FAIL: closing box buttons %s" % sorted(buttons))
        screenshot(shots, "stopped.png")
        press(buttons["OK"])
        wait_for("idle face", lambda: named(app, "push button", "Start Changing"))
        copied = len(os.listdir(os.path.join(work, "out")))
        if not 0 < copied < FILES:
            sys.exit("FAIL: %d copies after the stop" % copied)
        print("PASS: names read out, a run shown and stopped after %d of %d files" % (copied, FILES))
    finally:
        if window is not None:
            window.terminate()
            window.wait()
        launcher.terminate()
        launcher.wait()
        server.terminate()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


main()
