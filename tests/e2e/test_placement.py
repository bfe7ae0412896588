# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""Where the window lands under a window manager, start after start, on the display it is given.

The frame, as the window manager reports it (_NET_FRAME_EXTENTS), must be centred within a pixel
in the work area the manager leaves beside a 32-pixel dock along the top; with no manager, in the
_NET_WORKAREA set here as a desktop's bar would. Then the manager may offer no maximise, the size
holds against every request, and a frame the player drags stays where it is dropped.

Usage: test_placement.py QUORVEL_BINARY WINDOW_MANAGER [STARTS]
  WINDOW_MANAGER: none, kwin_x11, xfwm4, openbox or mutter, started here on $DISPLAY;
  with STARTS, prints where the frame landed at each start instead of testing.
"""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import find_window, wait_for  # noqa: E402

TITLE = "Quorvel v0.9"
BAR = 32
MANAGERS = {  # how each starts, and its Debian package
    "none": ([], None),
    "kwin_x11": (["kwin_x11", "--replace"], "kwin-x11"),
    "xfwm4": (["xfwm4", "--replace", "--compositor=off"], "xfwm4"),
    "openbox": (["openbox", "--replace"], "openbox"),
    "mutter": (["mutter", "--x11", "--replace"], "mutter"),
}


class Desktop:
    """The display's window manager and a dock that takes the top 32 pixels from the work area."""

    def __init__(self, manager):
        from Xlib import X, Xatom, display
        self.x = display.Display()
        self.root = self.x.screen().root
        self.atom = self.x.intern_atom
        self.manager = manager
        self.processes = []
        screen = self.x.screen()
        self.screen = (screen.width_in_pixels, screen.height_in_pixels)
        if manager == "none":
            area = (0, BAR, self.screen[0], self.screen[1] - BAR)
            self.root.change_property(self.atom("_NET_WORKAREA"), Xatom.CARDINAL, 32, area)
            self.root.change_property(self.atom("_NET_SUPPORTED"), Xatom.ATOM, 32,
                                      [self.atom("_NET_WORKAREA")])
            self.x.sync()
            return
        self.log = open(os.environ.get("QUORVEL_WM_LOG", os.devnull), "ab")
        self.processes.append(subprocess.Popen(MANAGERS[manager][0], stdout=self.log,
                                               stderr=subprocess.STDOUT))
        wait_for(lambda: self.property(self.root, "_NET_SUPPORTING_WM_CHECK"), 60,
                 what=f"{manager} to manage the screen")
        dock = self.root.create_window(0, 0, self.screen[0], BAR, 0, X.CopyFromParent)
        dock.change_property(self.atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                             [self.atom("_NET_WM_WINDOW_TYPE_DOCK")])
        dock.change_property(self.atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                             [0, 0, BAR, 0, 0, 0, 0, 0, 0, self.screen[0] - 1, 0, 0])
        dock.change_property(self.atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, [0, 0, BAR, 0])

        def docked():  # a manager may say it runs before it takes the windows that map
            if (self.work_area() or (0, 0))[1] == BAR:
                return True
            dock.unmap()
            dock.map()
            self.x.sync()
        wait_for(docked, 30, interval=0.5,
                 what=lambda: f"the dock in the work area ({self.work_area()})")

    def property(self, window, name):
        value = window.get_full_property(self.atom(name), 0)
        return list(value.value) if value else None

    def work_area(self):
        area = self.property(self.root, "_NET_WORKAREA")
        return tuple(area[:4]) if area else None

    def frame(self, xid):
        """The window's frame on the screen: x, y, width, height."""
        window = self.x.create_resource_object("window", xid)
        at = window.translate_coords(self.root, 0, 0)
        size = window.get_geometry()
        left, right, top, bottom = self.property(window, "_NET_FRAME_EXTENTS") or (0, 0, 0, 0)
        return (-at.x - left, -at.y - top, size.width + left + right,
                size.height + top + bottom)

    def off_centre(self, xid):
        """How far the frame's centre lies from the work area's, in half pixels."""
        x, y, w, h = self.frame(xid)
        ax, ay, aw, ah = self.work_area()
        return (2 * x + w - 2 * ax - aw, 2 * y + h - 2 * ay - ah)

    def settled(self, xid):
        """The frame once the manager has framed the window and it has stopped moving."""
        if self.manager != "none":
            window = self.x.create_resource_object("window", xid)
            wait_for(lambda: self.property(window, "_NET_FRAME_EXTENTS"), 20,
                     what="the frame's extents")
        seen = []

        def still():  # the same frame for a second and a half
            seen[:] = [frame for frame in seen if frame == self.frame(xid)] + [self.frame(xid)]
            return len(seen) > 5
        wait_for(still, 20, interval=0.3, what="the frame to stop moving")
        return self.frame(xid)

    def close(self):
        for process in self.processes:
            process.terminate()
            process.wait()
        self.x.close()


def start(desktop):
    process = subprocess.Popen([BINARY], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    xid = find_window(os.environ, process.pid, TITLE)
    desktop.settled(xid)
    return process, xid


class Placement(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(MANAGER)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.process, self.xid = start(self.desktop)
        self.window = self.desktop.x.create_resource_object("window", self.xid)

    def tearDown(self):
        self.process.kill()
        self.process.wait()

    def test_centred_at_every_start(self):
        if MANAGER != "none":  # else there is no frame to centre
            top = self.desktop.property(self.window, "_NET_FRAME_EXTENTS")[2]
            self.assertGreater(top, 0, f"{MANAGER} draws no title bar (for kwin: kwin-style-breeze)")
        offsets = [self.desktop.off_centre(self.xid)]
        for _ in range(4):
            self.tearDown()
            self.setUp()
            offsets.append(self.desktop.off_centre(self.xid))
        self.assertTrue(all(max(map(abs, o)) <= 2 for o in offsets),
                        f"frame centre off the work area's, in half pixels: {offsets}")

    def test_one_size_and_where_the_player_puts_it(self):
        if MANAGER == "none":
            self.skipTest("without a window manager, another program's request is not asked")
        d, window = self.desktop, self.window
        size = window.get_geometry()
        allowed = [d.x.get_atom_name(a) for a in d.property(window, "_NET_WM_ALLOWED_ACTIONS")]
        self.assertNotIn("_NET_WM_ACTION_MAXIMIZE_HORZ", allowed)
        self.assertNotIn("_NET_WM_ACTION_MAXIMIZE_VERT", allowed)
        from Xlib import X, protocol
        state = d.atom("_NET_WM_STATE")
        for asked in ("_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_FULLSCREEN"):
            event = protocol.event.ClientMessage(window=window, client_type=state, data=(
                32, [1, d.atom(asked), d.atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 1, 0]))
            d.root.send_event(event, event_mask=X.SubstructureRedirectMask
                              | X.SubstructureNotifyMask)
        window.configure(width=size.width * 2, height=size.height * 2)
        d.x.sync()
        d.settled(self.xid)
        now = window.get_geometry()
        self.assertEqual((now.width, now.height), (size.width, size.height))
        # The player drags the title bar 100 pixels right and down: there it stays (kwin may
        # take a pixel for the start of the drag).
        x, y, _, _ = d.frame(self.xid)
        top = d.property(window, "_NET_FRAME_EXTENTS")[2]
        grab = (x + 60, y + top // 2)
        subprocess.run(["xdotool", "mousemove", "--sync", *map(str, grab), "mousedown", "1",
                        "mousemove", "--sync", str(grab[0] + 50), str(grab[1] + 50),
                        "mousemove", "--sync", str(grab[0] + 100), str(grab[1] + 100),
                        "mouseup", "1"], check=True)
        dropped = d.settled(self.xid)
        self.assertLessEqual(max(abs(dropped[0] - x - 100), abs(dropped[1] - y - 100)), 1,
                             f"dragged from {x},{y} by 100,100 to {dropped[:2]}")
        # Then the frame changes (its title bar goes, as a window rule may have it): the window
        # stays off the centre, where the player put it.
        motif = d.atom("_MOTIF_WM_HINTS")
        window.change_property(motif, motif, 32, [2, 0, 0, 0, 0])
        d.x.sync()
        wait_for(lambda: d.property(window, "_NET_FRAME_EXTENTS")[2] == 0, 10,
                 what="the title bar to go")
        d.settled(self.xid)
        self.assertTrue(all(abs(off) > 100 for off in d.off_centre(self.xid)),
                        f"back at the centre: {d.frame(self.xid)}")


def report(starts):
    desktop = Desktop(MANAGER)
    try:
        for n in range(starts):
            process, xid = start(desktop)
            dx, dy = desktop.off_centre(xid)
            print(f"start {n + 1:2}: frame {desktop.frame(xid)} in {desktop.work_area()},"
                  f" off by {dx / 2:+} {dy / 2:+} px", flush=True)
            process.kill()
            process.wait()
    finally:
        desktop.close()


if __name__ == "__main__":
    BINARY, MANAGER = os.path.abspath(sys.argv[1]), sys.argv[2]
    command, package = MANAGERS[MANAGER]
    needs = [("xdotool", "xdotool")] + ([(command[0], package)] if package else [])
    lacking = [f"{tool} ({package})" for tool, package in needs if not shutil.which(tool)]
    try:
        import Xlib  # noqa: F401
    except ImportError:
        lacking.append("the Xlib module (python3-xlib)")
    if "DISPLAY" not in os.environ:
        lacking.append("an X display (xvfb-run, from xvfb)")
    if lacking:
        print("skipped: " + ", ".join(lacking) + " not installed")
        sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed
    if len(sys.argv) > 3:
        report(int(sys.argv[3]))
    else:
        unittest.main(argv=sys.argv[:1] + ["-v"], warnings="ignore")
