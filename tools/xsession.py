# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""What the end-to-end tests, the start-up benchmark and the scripts share on an X display.

They run on an X server and D-Bus session of their own, started by xvfb-run and dbus-run-session;
the accessibility bus starts itself by D-Bus activation.
"""

import shutil
import subprocess
import time


def missing(accessibility=True):
    """What a session needs and this machine lacks, each with the Debian package that has it."""
    needs = [("xvfb-run", "xvfb"), ("xauth", "xauth"), ("xdotool", "xdotool"),
             ("dbus-run-session", "dbus"), ("dbus-send", "dbus")]
    if accessibility:
        needs.append(("/usr/libexec/at-spi-bus-launcher", "at-spi2-core"))
    lacking = [f"{tool} ({package})" for tool, package in needs if not shutil.which(tool)]
    modules = [("Xlib", "python3-xlib")] + [("pyatspi", "python3-pyatspi")] * accessibility
    for module, package in modules:
        try:
            __import__(module)
        except ImportError:
            lacking.append(f"the {module} module ({package})")
    return lacking


def wait_for(condition, timeout=10.0, interval=0.02, what="condition"):
    """Polls `condition` until it returns something true, or fails after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            what = what() if callable(what) else what  # a description may say what it saw
            raise TimeoutError(f"timed out after {timeout}s waiting for {what}")
        time.sleep(interval)


def close_window(display_name, xid):
    """The desktop's close command: WM_DELETE_WINDOW, as a title bar's close box sends it."""
    from Xlib import X, display, protocol
    d = display.Display(display_name)
    try:
        window = d.create_resource_object("window", xid)
        event = protocol.event.ClientMessage(
            window=window, client_type=d.intern_atom("WM_PROTOCOLS"),
            data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        d.sync()  # a flush alone may leave the request unsent when the connection closes
    finally:
        d.close()


def find_window(env, pid, title, timeout=20.0):
    """The id of the program's visible top-level window with this title."""
    def search():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name",
                              "^" + title + "$"], env=env, capture_output=True, text=True).stdout
        return int(out.split()[0]) if out.split() else None
    return wait_for(search, timeout, what=f"the window '{title}'")
