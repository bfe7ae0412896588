# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""Quorvel on a real X server: what only a real display and the accessibility bus can show.

Input is real X input (xdotool). The window is read back from outside the process as assistive
technology reads it, through AT-SPI, and from the X server: properties, position and pixels.

Usage: test_window.py QUORVEL_BINARY DESKTOP_ENTRY ARTIFACT_DIR
"""

import configparser
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import XSession, close_window, find_window, missing, wait_for  # noqa: E402

RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]
CHECK1 = (72, 80, 17, 33)  # in the window's own pixels
CHANGES = ("object:property-change:accessible-name",
           "object:property-change:accessible-description")


class OnX(unittest.TestCase):
    # Each test starts the program on one X server, D-Bus session and accessibility bus.

    @classmethod
    def setUpClass(cls):
        cls.session = XSession().__enter__()
        # A desktop's bar, 32 pixels along the top, leaves the rest as the work area.
        from Xlib import Xatom, display
        d = display.Display(cls.session.display)
        screen = d.screen()
        cls.work_area = (0, 32, screen.width_in_pixels, screen.height_in_pixels - 32)
        work_area = d.intern_atom("_NET_WORKAREA")
        screen.root.change_property(work_area, Xatom.CARDINAL, 32, cls.work_area)
        screen.root.change_property(d.intern_atom("_NET_SUPPORTED"), Xatom.ATOM, 32, [work_area])
        d.close()
        os.environ.update(cls.session.env)  # the accessibility library reads it when imported
        import pyatspi
        cls.at = pyatspi

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def setUp(self):
        self.log = open(os.path.join(ARTIFACTS, "quorvel.log"), "ab")
        self.process = self.session.launch([BINARY], output=self.log)
        self.xid = find_window(self.session.env, self.process.pid, "Quorvel v0.9")
        self.frame = wait_for(self.find_frame, 20, what="the window on the accessibility bus")

    def tearDown(self):
        if not self._outcome.success and shutil.which("import"):  # what went wrong (imagemagick)
            subprocess.run(["import", "-window", "root",
                            os.path.join(ARTIFACTS, self.id() + ".png")], env=self.session.env)
        self.process.kill()
        self.process.wait()
        self.log.close()

    def find_frame(self):
        for app in self.at.Registry.getDesktop(0):
            if app and app.name == "Quorvel" and app.get_process_id() == self.process.pid:
                return next((w for w in app if w and w.name == "Quorvel v0.9"), None)

    # -- reading the window as a screen reader does --------------------------------------------
    def child(self, role):
        return next(c for c in self.frame if c.getRole() == role)

    def combo(self, card):
        return [c for c in self.frame if c.getRole() == self.at.ROLE_COMBO_BOX][card]

    def extents(self, accessible):
        e = accessible.queryComponent().getExtents(self.at.DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    def state(self):
        fields = [self.combo(0)[1], self.combo(1)[1], self.child(self.at.ROLE_TEXT)]
        texts = [field.queryText().getText(0, -1) for field in fields]
        checked = self.child(self.at.ROLE_CHECK_BOX).getState().contains(self.at.STATE_CHECKED)
        return texts[0], texts[1], checked, texts[2]

    def wait_state(self, expected, heard=None):
        notice = self.child(self.at.ROLE_NOTIFICATION)
        wait_for(lambda: self.state() == expected
                 and heard in (None, notice.clearCache() or notice.name), 10,
                 what=lambda: f"{expected}, '{heard}' (shown {self.state()}, '{notice.name}')")

    # -- using it as a person does -------------------------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.session.env, check=True)

    def click(self, x, y):
        self.xdotool("mousemove", "--window", self.xid, "--sync", x, y, "click", "1")

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def focus(self):
        # Nothing activates the window without a window manager: a click on its grey does.
        self.click(120, 4)
        wait_for(lambda: self.combo(0)[1].getState().contains(self.at.STATE_FOCUSED), 10,
                 what="the focus in Card 1")

    def pick(self, card, rank):
        # Opens the card's list by its arrow and clicks the rank.
        self.click(60 + 72 * card, 58)
        item = self.combo(card)[0][RANKS.index(rank)]
        wait_for(lambda: item.getState().contains(self.at.STATE_SHOWING)
                 and self.extents(item)[1] > 0, 10, what=f"the list of card {card + 1}")
        x, y, _, h = self.extents(item)
        self.xdotool("mousemove", "--sync", x + 10, y + h // 2, "click", "1")
        wait_for(lambda: not self.combo(card)[0].getState().contains(self.at.STATE_SHOWING), 10,
                 what="the list to close")

    # -- the tests -----------------------------------------------------------------------------
    def test_start_up_help_by_keyboard_and_closing(self):
        from Xlib import display
        self.assertEqual(self.state(), ("Card 1", "Card 2", False, ""))
        d = display.Display(self.session.display)
        window = d.create_resource_object("window", self.xid)
        # A shell groups the window under the menu entry whose StartupWMClass is its class.
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(DESKTOP_ENTRY)
        self.assertEqual(window.get_wm_class()[1], entry["Desktop Entry"]["StartupWMClass"])
        # Centred in the area the desktop leaves free.
        at = window.translate_coords(d.screen().root, 0, 0)
        size = window.get_geometry()
        x, y, w, h = self.work_area
        self.assertLessEqual(max(abs(2 * -at.x + size.width - 2 * x - w),
                                 abs(2 * -at.y + size.height - 2 * y - h)), 2)
        d.close()

        self.focus()
        self.key("Tab", "Tab", "Tab", "Tab", "Return")  # from Card 1 round to Help
        dialog = wait_for(lambda: next((w for w in self.frame.parent
                                        if w and w.name == "Quorvel"), None), 10, what="Help")
        self.click(*CHECK1[:2])  # the window behind takes no input,
        close_window(self.session.display, self.xid)  # not even a request to close
        self.key("Escape")
        wait_for(lambda: not dialog.getState().contains(self.at.STATE_SHOWING), 10,
                 what="the Help message to close")
        self.wait_state(("Card 1", "Card 2", False, ""))
        close_window(self.session.display, self.xid)  # the desktop's close command ends it
        self.assertEqual(self.process.wait(timeout=10), 0)

    def test_no_display_one_line(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        run = subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=10)
        self.assertEqual((run.returncode, run.stderr), (1, "quorvel: no display to open the window "
                                                           "on (DISPLAY and WAYLAND_DISPLAY are unset)\n"))

    def test_names_relations_answers_and_the_box_area(self):
        # Qt 6.4 sends an object where the text of a name or description change belongs, and Orca
        # 43 fails on such a change of the control it is on: there, the answer may change only
        # in controls that never hold the focus. Qt 6.8 sends the text, and a description change
        # is how the answer reaches a focused control there; a name change never is.
        old_qt = tuple(map(int, self.frame.parent.get_toolkit_version().split(".")[:2])) < (6, 8)
        unspeakable = []
        def changed(event):
            if (old_qt or event.type.endswith("name")) \
                    and event.source.getState().contains(self.at.STATE_FOCUSABLE):
                unspeakable.append((event.type, event.source.getRole()))
        self.at.Registry.registerEventListener(changed, *CHANGES)

        def labels(accessible):
            return [r.getTarget(0).name for r in accessible.getRelationSet()
                    if r.getRelationType() == self.at.RELATION_LABELLED_BY]

        def found(accessible):  # what a screen reader reads on focus and on Where Am I
            return ", ".join(labels(accessible) + [accessible.description] * bool(accessible.description))
        result = self.child(self.at.ROLE_TEXT)
        self.assertEqual((labels(self.child(self.at.ROLE_CHECK_BOX)), labels(result), result.name),
                         (["Suited"], ["To Win"], "Win chance"))
        self.focus()
        steps = [(lambda: self.pick(0, "A"), ("A", "Card 2", False, ""), "A, no win chance"),
                 (lambda: self.pick(1, "Q"), ("A", "Q", False, "64%"), "Q, win chance 64%"),
                 (lambda: self.key("Down"), ("A", "K", False, "65%"), "K, win chance 65%"),
                 (lambda: self.key("ctrl+a", "k"), ("A", "k", False, "65%"), "K, win chance 65%"),
                 (lambda: self.click(80, 96), ("A", "k", True, ""), "suited, no win chance")]
        for act, state, heard in steps:
            act()
            self.wait_state(state, heard)
            answer = heard.split(", ")[1]
            self.assertEqual((found(self.combo(0)), found(self.child(self.at.ROLE_CHECK_BOX))),
                             ("Card 1, " + answer, "Suited, " + answer))
        # The word at the end of a picked card, which once hung the window.
        word = self.combo(0)[1].queryText().getTextAtOffset(1, self.at.TEXT_BOUNDARY_WORD_START)
        self.assertEqual(word, ("A", 0, 1))

        # A screen reader is given the box's whole area, where a click ticks it.
        x, y, w, h = CHECK1
        left, top = self.extents(self.frame)[:2]
        self.assertEqual(self.extents(self.child(self.at.ROLE_CHECK_BOX)), (left + x, top + y, w, h))

        from gi.repository import GLib
        while GLib.MainContext.default().iteration(False):  # delivers the events received
            pass
        self.at.Registry.deregisterEventListener(changed, *CHANGES)
        self.assertEqual(unspeakable, [])


if __name__ == "__main__":
    if lacking := missing():
        print("skipped: " + ", ".join(lacking) + " not installed")
        sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed
    BINARY, DESKTOP_ENTRY, ARTIFACTS = map(os.path.abspath, sys.argv[1:4])
    os.makedirs(ARTIFACTS, exist_ok=True)
    # The accessibility bindings warn about their own deprecated calls; that is not ours to fix.
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[4:], warnings="ignore")
