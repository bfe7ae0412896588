# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# Quorvel on a real X server: what only a real display and the accessibility bus can show.
#
# Run inside xvfb-run and dbus-run-session (tests/CMakeLists.txt). Input is real X input
# (xdotool); the window is read back from outside the process as assistive technology reads it,
# through AT-SPI, and from the X server. What the window does in-process is the window test's.
#
# Usage: test_window.py QUORVEL_BINARY DESKTOP_ENTRY ARTIFACT_DIR

import configparser
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import close_window, find_window, missing, wait_for  # noqa: E402

RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]


class OnX(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # What a screen reader does when it starts: the accessibility bus starts by D-Bus
        # activation, and applications are told to expose themselves on it.
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                        "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                        "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"],
                       check=True, stdout=subprocess.DEVNULL)
        import pyatspi
        cls.at = pyatspi

    def setUp(self):
        self.log = open(os.path.join(ARTIFACTS, "quorvel.log"), "ab")
        env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
        self.process = subprocess.Popen([BINARY], env=env, stdout=self.log, stderr=self.log)
        self.xid = find_window(os.environ, self.process.pid, "Quorvel v0.9")
        self.frame = wait_for(self.find_frame, 20, what="the window on the accessibility bus")

    def tearDown(self):
        if not self._outcome.success and shutil.which("import"):  # what went wrong (imagemagick)
            subprocess.run(["import", "-window", "root", os.path.join(ARTIFACTS, self.id() + ".png")])
        self.process.kill()
        self.process.wait()
        self.log.close()

    def find_frame(self):
        for app in self.at.Registry.getDesktop(0):
            if app and app.name == "Quorvel" and app.get_process_id() == self.process.pid:
                return next((w for w in app if w and w.name == "Quorvel v0.9"), None)

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

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True)

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
        # Opens the card's list by its arrow and clicks the rank where the bus says it is.
        self.click(60 + 72 * card, 58)
        item = self.combo(card)[0][RANKS.index(rank)]
        wait_for(lambda: item.getState().contains(self.at.STATE_SHOWING)
                 and self.extents(item)[1] > 0, 10, what=f"the list of card {card + 1}")
        x, y, _, h = self.extents(item)
        self.xdotool("mousemove", "--sync", x + 10, y + h // 2, "click", "1")

    def test_class_and_closing(self):
        from Xlib import display
        d = display.Display()
        # A shell groups the window under the menu entry whose StartupWMClass is its class.
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(DESKTOP_ENTRY)
        self.assertEqual(d.create_resource_object("window", self.xid).get_wm_class()[1],
                         entry["Desktop Entry"]["StartupWMClass"])
        d.close()
        close_window(os.environ["DISPLAY"], self.xid)  # the desktop's close command ends it
        self.assertEqual(self.process.wait(timeout=10), 0)

    def test_answers_through_the_bridge(self):
        # Qt 6.4 sends an object where the text of a name or description change belongs, and Orca
        # 43 fails on such a change of the control it is on. Qt 6.8 sends the text, and a
        # description change is how the answer reaches a focused control there; a name change
        # never is.
        old_qt = tuple(map(int, self.frame.parent.get_toolkit_version().split(".")[:2])) < (6, 8)
        unspeakable = []
        changes = ("object:property-change:accessible-name",
                   "object:property-change:accessible-description")

        announced = []

        def changed(event):
            if event.type == "object:announcement":
                announced.append(event.any_data)
            elif (old_qt or event.type.endswith("name")) \
                    and event.source.getState().contains(self.at.STATE_FOCUSABLE):
                unspeakable.append((event.type, event.source.getRole()))
        self.at.Registry.registerEventListener(changed, *changes, "object:announcement")

        def found(accessible):  # what a screen reader reads on focus and on Where Am I
            return ", ".join([r.getTarget(0).name for r in accessible.getRelationSet()
                              if r.getRelationType() == self.at.RELATION_LABELLED_BY]
                             + [accessible.description] * bool(accessible.description))
        result, box = self.child(self.at.ROLE_TEXT), self.child(self.at.ROLE_CHECK_BOX)
        self.assertEqual((found(box), found(result), result.name), ("Suited", "To Win", "Win chance"))
        from gi.repository import GLib
        self.focus()
        notice = self.child(self.at.ROLE_NOTIFICATION)
        for act, state, heard in [
                (lambda: self.pick(0, "A"), ("A", "Card 2", False, ""), "A, no win chance"),
                (lambda: self.pick(1, "Q"), ("A", "Q", False, "64%"), "Q, win chance 64%"),
                (lambda: self.key("Down"), ("A", "K", False, "65%"), "K, win chance 65%"),
                (lambda: self.click(80, 96), ("A", "K", True, "67%"), "suited, win chance 67%")]:
            act()
            # Heard as the notice appearing before Qt 6.8, as an announcement from 6.8.
            def told():
                while GLib.MainContext.default().iteration(False):  # delivers the events received
                    pass
                return heard in announced if not old_qt else notice.name == heard
            wait_for(lambda: self.state() == state and told(), 10,
                     what=lambda: f"{state}, '{heard}' (shown {self.state()}, '{notice.name}',"
                                  f" announced {announced})")
            answer = heard.split(", ")[1]
            self.assertEqual((found(self.combo(0)), found(self.combo(0)[1]), found(box)),
                             ("Card 1, " + answer, "Card 1, " + answer, "Suited, " + answer))
        # The word at the end of a picked card, which once hung the window.
        word = self.combo(0)[1].queryText().getTextAtOffset(1, self.at.TEXT_BOUNDARY_WORD_START)
        self.assertEqual(word, ("A", 0, 1))

        while GLib.MainContext.default().iteration(False):
            pass
        self.at.Registry.deregisterEventListener(changed, *changes, "object:announcement")
        self.assertEqual(unspeakable, [])


if __name__ == "__main__":
    if lacking := missing():
        print("skipped: " + ", ".join(lacking) + " not installed")
        sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed
    BINARY, DESKTOP_ENTRY, ARTIFACTS = map(os.path.abspath, sys.argv[1:4])
    os.makedirs(ARTIFACTS, exist_ok=True)
    # The accessibility bindings warn about their own deprecated calls; that is not ours to fix.
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[4:], warnings="ignore")
