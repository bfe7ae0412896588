# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# Quorvel on a real X server: what only a real display, a window manager and the accessibility
# bus can show. Run inside xvfb-run and dbus-run-session (tests/CMakeLists.txt). Input is real X
# input (xdotool); the window is read back from outside the process, as assistive technology and
# a desktop read it. What the window does in-process is the window test's.
#
# Usage: test_window.py QUORVEL_BINARY DESKTOP_ENTRY
#          used by mouse and keys, heard through the bridge, matched to its entry and closed;
#        test_window.py QUORVEL_BINARY none|kwin_x11|xfwm4|openbox|mutter|kwin_wayland [STARTS]
#          where it lands under that window manager, start after start (5), each start printed.
#          Under kwin_wayland, run on its Xwayland:
#          kwin_wayland --virtual --xwayland --exit-with-session "test_window.py ..."

import os
import re
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import close_window, missing, wait_for  # noqa: E402

TITLE = "Quorvel v0.9"
WINDOW_TEST = sys.argv[2].endswith(".desktop")
MANAGER = "none" if WINDOW_TEST else sys.argv[2]
COMMAND = {"none": None, "kwin_wayland": [], "xfwm4": ["xfwm4", "--replace", "--compositor=off"],
           "mutter": ["mutter", "--x11", "--replace"]}.get(MANAGER, [MANAGER, "--replace"])


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


class OnX(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        from Xlib import Xatom, display
        cls.x = x = display.Display()
        cls.root, atom = x.screen().root, x.intern_atom
        if COMMAND is None:  # the work area that a desktop's 32-pixel bar would leave
            cls.root.change_property(atom("_NET_WORKAREA"), Xatom.CARDINAL, 32, [0, 32, 1280, 992])
            cls.root.change_property(atom("_NET_SUPPORTED"), Xatom.ATOM, 32, [atom("_NET_WORKAREA")])
        else:
            manager = subprocess.Popen(COMMAND or ["true"], stderr=subprocess.DEVNULL)
            cls.addClassCleanup(lambda: manager.terminate() or manager.wait())
        wait_for(lambda: cls.property(cls.root, "_NET_SUPPORTED"), 60, what=MANAGER)

    @classmethod
    def property(cls, window, name):
        value = window.get_full_property(cls.x.intern_atom(name), 0)
        return list(value.value) if value else None

    def setUp(self):
        # On this display whatever the desktop's own (empty is unset to Quorvel), with Qt's bridge
        # on as a screen reader turns it on; the accessibility bus starts by D-Bus activation.
        self.process = subprocess.Popen(sys.argv[1:2], env=dict(os.environ, QT_QPA_PLATFORM="",
                                        WAYLAND_DISPLAY="", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        self.addCleanup(lambda: self.process.kill() or self.process.wait())

        def managed():  # mutter 48 gives its frame the window's name and process too
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                    str(self.process.pid), "--name", f"^{TITLE}$"],
                                   capture_output=True, text=True).stdout
            windows = [self.x.create_resource_object("window", int(w)) for w in found.split()]
            return next((w for w in windows if COMMAND is None or self.property(w, "WM_STATE")), None)
        self.window = wait_for(managed, 20, what=f"the window '{TITLE}'")

    def test_used_heard_and_closed(self):
        import pyatspi as at
        from gi.repository import GLib
        frame = wait_for(lambda: next((w for app in at.Registry.getDesktop(0) if app and app.name
                                       == "Quorvel" and app.get_process_id() == self.process.pid
                                       for w in app if w and w.name == TITLE), None), 20, what="bus")
        cards = [c for c in frame if c.getRole() == at.ROLE_COMBO_BOX]
        notice = next(c for c in frame if c.getRole() == at.ROLE_NOTIFICATION)
        old_qt = tuple(map(int, frame.parent.get_toolkit_version().split(".")[:2])) < (6, 8)

        # Which changes a focused control may announce is the window test's question; here, that
        # the answers reach the bus.
        events = []
        at.Registry.registerEventListener(events.append, "object:announcement")
        self.addCleanup(at.Registry.deregisterEventListener, events.append, "object:announcement")

        def told(said):  # as the notice appearing before Qt 6.8, as an announcement from 6.8
            while GLib.MainContext.default().iteration(False):  # delivers the events received
                pass
            return notice.name == said if old_qt else said in [e.any_data for e in events]

        def pick(card, index):  # by the card's arrow, then the rank where the bus says it is
            xdotool("mousemove", "--window", self.window.id, "--sync", 60 + 72 * card, 58, "click", 1)
            item = cards[card][0][index]
            e = wait_for(lambda: item.getState().contains(at.STATE_SHOWING) and item.queryComponent()
                         .getExtents(at.DESKTOP_COORDS), 10, what=f"the list of card {card + 1}")
            xdotool("mousemove", "--sync", e.x + 10, e.y + e.height // 2, "click", 1)
        for act, said in [(lambda: pick(0, 0), "A, no win chance"),
                          (lambda: pick(1, 11), "Q, win chance 64%"),
                          (lambda: xdotool("key", "--clearmodifiers", "Down"), "K, win chance 65%"),
                          (lambda: xdotool("mousemove", "--window", self.window.id, "--sync", 80, 96,
                                           "click", 1), "suited, win chance 67%")]:
            act()
            wait_for(lambda: told(said), 10,
                     what=lambda: f"'{said}' ({notice.name}, {[e.any_data for e in events]})")

        # A shell groups the window under the menu entry whose StartupWMClass is its class, and
        # the desktop's close command ends the program.
        with open(sys.argv[2]) as entry:
            self.assertEqual(self.window.get_wm_class()[1],
                             re.search("^StartupWMClass=(.*)$", entry.read(), re.M)[1])
        close_window(os.environ["DISPLAY"], self.window.id)
        self.assertEqual(self.process.wait(timeout=10), 0)

    # How far the frame's centre lies from the work area's, once it has been still 1.5 s.
    def off_centre(self):
        seen = []

        def still():  # a manager's frame is known by its _NET_FRAME_EXTENTS
            at, size = self.window.translate_coords(self.root, 0, 0), self.window.get_geometry()
            extents = self.property(self.window, "_NET_FRAME_EXTENTS")
            left, right, top, bottom = extents or [0] * 4
            seen.append((-at.x - left, -at.y - top, size.width + left + right,
                         size.height + top + bottom, top))
            return (extents or MANAGER == "none") and seen[-6:] == seen[-1:] * 6
        wait_for(still, 30, interval=0.3, what=lambda: f"the frame to stop moving ({seen[-6:]})")
        x, y, w, h, self.title = seen[-1]
        ax, ay, aw, ah = (self.property(self.root, "_NET_WORKAREA") or [0, 0, 1280, 1024])[:4]
        return x + w / 2 - ax - aw / 2, y + h / 2 - ay - ah / 2, x, y

    def test_placed(self):
        for n in range(int(sys.argv[3]) if len(sys.argv) > 3 else 5):
            if n:
                self.doCleanups()
                self.setUp()
            dx, dy, x, y = self.off_centre()
            print(f"start {n + 1:2}: frame at {x}, {y}, off the centre by {dx}, {dy} px", flush=True)
            self.assertLessEqual(max(abs(dx), abs(dy)), 1)

        # The player drags the title bar 100 pixels right and down, and then the frame changes,
        # its title bar gone, as a window rule would have it: the window stays off the centre.
        # Under kwin_x11 only: xdotool's drag leaves openbox 3.6's frame in place and puts xfwm4
        # 4.20's in the corner, kwin_wayland takes no pointer input from Xwayland, and mutter 43
        # keeps the title bar when the Motif hints change.
        if MANAGER != "kwin_x11":
            return
        xdotool("mousemove", "--sync", x + 60, y + self.title // 2, "mousedown", 1,
                *["mousemove_relative", "--sync", 50, 50] * 2, "mouseup", 1)
        self.off_centre()
        self.window.change_property(motif := self.x.intern_atom("_MOTIF_WM_HINTS"), motif, 32,
                                    [2, 0, 0, 0, 0])  # sent with the next request
        dx, dy, _, _ = self.off_centre()
        self.assertEqual((self.title, abs(dx) > 50, abs(dy) > 50), (0, True, True))


if __name__ == "__main__":
    if lacking := missing(accessibility=WINDOW_TEST) + [MANAGER] * bool(
            COMMAND and not shutil.which(COMMAND[0])):
        print("skipped: " + ", ".join(lacking) + " not installed")
        sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed
    # The accessibility bindings warn about their own deprecated calls; that is not ours to fix.
    unittest.main(argv=sys.argv[:1] + ["-v", "-k", "closed" if WINDOW_TEST else "placed"],
                  warnings="ignore")
