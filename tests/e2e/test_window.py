# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# Quorvel on a real X server: what only a real display, a window manager and the accessibility
# bus can show. Run inside xvfb-run and dbus-run-session (tests/CMakeLists.txt), whose ends end
# whatever this starts. Input is real X input (xdotool); the window is read back from outside the
# process, as assistive technology and a desktop read it. What the window does in-process is the
# window test's.
#
# Usage: test_window.py QUORVEL_BINARY DESKTOP_ENTRY
#                       [none|kwin_x11|xfwm4|openbox|mutter|kwin_wayland [STARTS]]
#   Where the window lands under that window manager (none by default), start after start (5),
#   each start printed; then the last start used by mouse and keys, heard through the bridge,
#   matched to its entry, under kwin_x11 moved by the player, and closed. Under kwin_wayland, run
#   on its Xwayland, which takes no pointer input from xdotool, so there placement only:
#     kwin_wayland --virtual --xwayland --exit-with-session "test_window.py ..."

import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import close_window, missing, wait_for  # noqa: E402

TITLE = "Quorvel v0.9"
MANAGER = sys.argv[3] if len(sys.argv) > 3 else "none"
COMMAND = {"none": None, "kwin_wayland": [], "xfwm4": ["xfwm4", "--replace", "--compositor=off"],
           "mutter": ["mutter", "--x11", "--replace"]}.get(MANAGER, [MANAGER, "--replace"])
if lacking := missing() + [MANAGER] * bool(COMMAND and not shutil.which(COMMAND[0])):
    print("skipped: " + ", ".join(lacking) + " not installed")
    sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed
import pyatspi as at  # noqa: E402
from gi.repository import GLib  # noqa: E402
from Xlib import Xatom, display  # noqa: E402

x = display.Display()
root, atom = x.screen().root, x.intern_atom


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def prop(window, name):
    value = window.get_full_property(atom(name), 0)
    return list(value.value) if value else None


def start():
    # On this display whatever the desktop's own (empty is unset to Quorvel), with Qt's bridge on
    # as a screen reader turns it on; the accessibility bus starts by D-Bus activation.
    process = subprocess.Popen(sys.argv[1:2], env=dict(os.environ, QT_QPA_PLATFORM="",
                               WAYLAND_DISPLAY="", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    def managed():  # mutter 48 gives its frame the window's name and process too
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid),
                                "--name", f"^{TITLE}$"], capture_output=True, text=True).stdout
        windows = [x.create_resource_object("window", int(w)) for w in found.split()]
        return next((w for w in windows if COMMAND is None or prop(w, "WM_STATE")), None)
    return process, wait_for(managed, 20, what=f"the window '{TITLE}'")


# Where the frame lies, its title bar's height, and how far its centre is from the work area's,
# once it has been still 1.5 s.
def off_centre(window):
    seen = []

    def still():  # a manager's frame is known by its _NET_FRAME_EXTENTS
        corner, size = window.translate_coords(root, 0, 0), window.get_geometry()
        extents = prop(window, "_NET_FRAME_EXTENTS")
        left, right, top, bottom = extents or [0] * 4
        seen.append((-corner.x - left, -corner.y - top, size.width + left + right,
                     size.height + top + bottom, top))
        return (extents or MANAGER == "none") and seen[-6:] == seen[-1:] * 6
    wait_for(still, 30, interval=0.3, what=lambda: f"the frame to stop moving ({seen[-6:]})")
    fx, fy, w, h, title = seen[-1]
    ax, ay, aw, ah = (prop(root, "_NET_WORKAREA") or [0, 0, 1280, 1024])[:4]
    return fx, fy, title, fx + w / 2 - ax - aw / 2, fy + h / 2 - ay - ah / 2


if COMMAND is None:  # the work area that a desktop's 32-pixel bar would leave
    root.change_property(atom("_NET_WORKAREA"), Xatom.CARDINAL, 32, [0, 32, 1280, 992])
    root.change_property(atom("_NET_SUPPORTED"), Xatom.ATOM, 32, [atom("_NET_WORKAREA")])
else:
    subprocess.Popen(COMMAND or ["true"], stderr=subprocess.DEVNULL)
wait_for(lambda: prop(root, "_NET_SUPPORTED"), 60, what=MANAGER)
for n in range(int(sys.argv[4]) if len(sys.argv) > 4 else 5):
    if n:
        process.kill()
        process.wait()
    process, window = start()
    fx, fy, title, dx, dy = off_centre(window)
    print(f"start {n + 1:2}: frame at {fx}, {fy}, off the centre by {dx}, {dy} px", flush=True)
    assert max(abs(dx), abs(dy)) <= 1, "off the centre"
if MANAGER == "kwin_wayland":
    sys.exit(0)

# Which changes a focused control may announce is the window test's question; here, that the
# answers to real input reach the bus: as the notice appearing before Qt 6.8, as an announcement
# from 6.8.
frame = wait_for(lambda: next((w for app in at.Registry.getDesktop(0) if app and app.name
                               == "Quorvel" and app.get_process_id() == process.pid
                               for w in app if w and w.name == TITLE), None), 20, what="the bus")
notice = next(c for c in frame if c.getRole() == at.ROLE_NOTIFICATION)
old_qt = tuple(map(int, frame.parent.get_toolkit_version().split(".")[:2])) < (6, 8)
events = []
at.Registry.registerEventListener(events.append, "object:announcement")


def told(said):
    while GLib.MainContext.default().iteration(False):  # delivers the events received
        pass
    return notice.name == said if old_qt else said in [e.any_data for e in events]


# A click in Card 1's field and Down, then Tab to Card 2 and Down twice, then a click in the box.
in_window = ["mousemove", "--window", window.id, "--sync"]
for act, said in [([*in_window, 20, 58, "click", 1, "key", "Down"], "A, no win chance"),
                  (["key", "Tab", "Down", "Down"], "2, win chance 54%"),
                  ([*in_window, 80, 96, "click", 1], "suited, win chance 57%")]:
    xdotool(*act)
    wait_for(lambda: told(said), 10,
             what=lambda: f"'{said}' ({notice.name}, {[e.any_data for e in events]})")

# The player drags the title bar 100 pixels right and down, and then the frame changes, its title
# bar gone, as a window rule would have it: the window stays off the centre. Under kwin_x11 only:
# xdotool's drag leaves openbox 3.6's frame in place and puts xfwm4 4.20's in the corner, and
# mutter 43 keeps the title bar when the Motif hints change.
if MANAGER == "kwin_x11":
    xdotool("mousemove", "--sync", fx + 60, fy + title // 2, "mousedown", 1,
            *["mousemove_relative", "--sync", 50, 50] * 2, "mouseup", 1)
    off_centre(window)
    motif = atom("_MOTIF_WM_HINTS")
    window.change_property(motif, motif, 32, [2, 0, 0, 0, 0])  # sent with the next request
    _, _, title, dx, dy = off_centre(window)
    assert (title, abs(dx) > 50, abs(dy) > 50) == (0, True, True), (title, dx, dy)

# A shell groups the window under the menu entry whose StartupWMClass is its class, and the
# desktop's close command ends the program.
with open(sys.argv[2]) as entry:
    wm_class = re.search("^StartupWMClass=(.*)$", entry.read(), re.M)[1]
assert window.get_wm_class()[1] == wm_class, window.get_wm_class()
close_window(os.environ["DISPLAY"], window.id)
assert process.wait(timeout=10) == 0
