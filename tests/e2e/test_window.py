# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""Quorvel on a real X server, used as a person uses it.

Input is real X input (xdotool); the window is read back from outside the process the way
assistive technology and GUI test tools do: the accessibility tree for texts and states, X
properties for the title, size hints and position, and the screen's pixels for colour.

Usage: test_window.py QUORVEL_BINARY ARTIFACT_DIR
"""

import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import XSession, close_window, find_window, wait_for  # noqa: E402

BINARY = None
ARTIFACTS = None
SESSION = None

RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]
HELP_TEXT = ("Quorvel v0.9 Select your pre flop cards as they are delt. Percentage displayed is "
             "to win against random cards. Theres more info at www.quorvel.example")


def expected_grids():
    """The win chances, read from the test suite's own transcription of the tables."""
    here = os.path.dirname(os.path.abspath(__file__))
    source = open(os.path.join(here, "..", "..", "eval", "tests", "expected_grids.h")).read()
    order = re.search(r"Ranks\s*=\s*\{([^}]*)\}", source).group(1)
    order = re.findall(r'"([^"]+)"', order)
    grids = {}
    for name in ("Suited", "Offsuit"):
        body = re.search(name + r" = \{\{(.*?)\}\};", source, re.S).group(1)
        rows = [list(map(int, re.findall(r"\d+", row.split("//")[0])))
                for row in body.strip().splitlines() if row.strip().startswith("{")]
        grids[name] = {(order[r], order[c]): f"{rows[r][c]}%"
                       for r in range(13) for c in range(13)}
    return grids


GRIDS = expected_grids()


def win_chance(card1, card2, suited):
    if card1 == card2 or suited:
        return GRIDS["Suited"][(card1, card2)]
    return GRIDS["Offsuit"][(card1, card2)]


def setUpModule():
    global SESSION
    SESSION = XSession()
    SESSION.__enter__()
    # The accessibility client library reads the session's buses when it is first imported.
    os.environ.update(SESSION.env)


def tearDownModule():
    SESSION.close()


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], env=SESSION.env, check=True)


class Quorvel:
    """One running program, its window in the accessibility tree and on the X server."""

    def __init__(self, binary):
        import pyatspi
        self.at = pyatspi
        self.log = open(os.path.join(ARTIFACTS, "quorvel.log"), "ab")
        self.process = SESSION.launch([binary], output=self.log)
        self.app = wait_for(self._find_app, 20, what="Quorvel on the accessibility bus")
        self.frame = wait_for(self._find_frame, 20, what="the main window")
        self.xid = find_window(SESSION.env, self.process.pid, "Quorvel v0.9")

    # -- finding things ----------------------------------------------------------------------
    def _find_app(self):
        for app in self.at.Registry.getDesktop(0):
            if app is not None and app.name == "Quorvel" and app.get_process_id() == self.process.pid:
                return app
        return None

    def _find_frame(self):
        for child in self.app:
            if child is not None and child.name == "Quorvel v0.9" and self.showing(child):
                return child
        return None

    def showing(self, accessible):
        return accessible.getState().contains(self.at.STATE_SHOWING)

    def by_role(self, role, parent=None):
        """Children of a role, left to right then top to bottom."""
        parent = parent or self.frame
        found = [c for c in parent if c is not None and c.getRole() == role]
        return sorted(found, key=lambda c: (self.extents(c)[1], self.extents(c)[0]))

    def extents(self, accessible):
        e = accessible.queryComponent().getExtents(self.at.DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    def descendants(self, accessible, role):
        found = []
        for child in accessible:
            if child is not None:
                if child.getRole() == role:
                    found.append(child)
                found += self.descendants(child, role)
        return found

    @property
    def combos(self):
        combos = [c for c in self.frame if c.getRole() == self.at.ROLE_COMBO_BOX]
        return sorted(combos, key=lambda c: self.extents(c)[0])

    def combo_edit(self, index):
        combo = self.combos[index]
        return next(c for c in combo if c.getRole() == self.at.ROLE_TEXT)

    @property
    def result_box(self):
        return next(c for c in self.frame if c.getRole() == self.at.ROLE_TEXT)

    @property
    def check_box(self):
        return next(c for c in self.frame if c.getRole() == self.at.ROLE_CHECK_BOX)

    @property
    def help_button(self):
        return next(c for c in self.frame if c.getRole() == self.at.ROLE_PUSH_BUTTON)

    def focused(self):
        """The innermost control with the focus: a selector's edit field rather than the selector."""
        def walk(accessible):
            for child in accessible:
                if child is not None and child.getRole() != self.at.ROLE_LIST:
                    hit = walk(child)
                    if hit:
                        return hit
            return accessible if accessible.getState().contains(self.at.STATE_FOCUSED) else None
        return walk(self.frame)

    # -- what a person sees ------------------------------------------------------------------
    def text(self, accessible):
        return accessible.queryText().getText(0, -1)

    def state(self):
        return (self.text(self.combo_edit(0)), self.text(self.combo_edit(1)),
                self.check_box.getState().contains(self.at.STATE_CHECKED),
                self.text(self.result_box))

    def wait_state(self, expected, what="the window's state"):
        try:
            wait_for(lambda: self.state() == expected, 10, what=f"{what} {expected}")
        except TimeoutError:
            raise AssertionError(f"window shows {self.state()}, expected {expected}") from None

    # -- what a person does ------------------------------------------------------------------
    def click(self, x, y):
        xdotool("mousemove", "--sync", x, y, "click", "1")

    def click_into(self, accessible, dx=None, dy=None):
        x, y, w, h = self.extents(accessible)
        self.click(x + (w // 2 if dx is None else dx), y + (h // 2 if dy is None else dy))

    def focus_window(self):
        """No window manager activates the window: click on its grey, as a person would."""
        x, y, _, _ = self.extents(self.frame)
        self.click(x + 120, y + 4)
        wait_for(lambda: self.focused() is not None, 10, what="the window to take the focus")

    def pick(self, card, rank):
        """Opens the card's list with its arrow and clicks the rank."""
        combo = self.combos[card]
        x, y, w, h = self.extents(combo)
        self.click(x + w - 5, y + h // 2)
        item = combo[0][RANKS.index(rank)]
        wait_for(lambda: self.showing(item) and self.extents(item)[1] > 0, 10,
                 what=f"the list of card {card + 1}")
        wait_for(lambda: item.getState().contains(self.at.STATE_VISIBLE), 10, what="the item")
        self.click_into(item, dx=10)
        wait_for(lambda: not combo[0].getState().contains(self.at.STATE_VISIBLE)
                 or not self.showing(item) or self.extents(item)[1] <= 0, 10, what="the list to close")

    def type_over(self, accessible, text):
        """Clicks into an edit field, selects all and types."""
        self.click_into(accessible)
        self.key("ctrl+a")
        self.type(text)

    def show_hand(self, card1, card2):
        """Gives the window the focus and picks both cards; returns the offsuit answer."""
        self.focus_window()
        self.pick(0, card1)
        self.pick(1, card2)
        answer = win_chance(card1, card2, False)
        self.wait_state((card1, card2, False, answer))
        return answer

    def key(self, *keys):
        xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        xdotool("type", "--delay", "20", text)

    def close(self):
        close_window(SESSION.display, self.xid)

    def screenshot(self, name):
        path = os.path.join(ARTIFACTS, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=SESSION.env, check=False)
        return path

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


class WindowOnX(unittest.TestCase):
    def setUp(self):
        self.q = Quorvel(BINARY)

    def tearDown(self):
        failed = any(error for _, error in self._outcome.errors) if hasattr(self._outcome, "errors") \
            else not self._outcome.success
        if failed:
            self.q.screenshot(self.id().split(".")[-1])
        self.q.end()

    # -- start-up ----------------------------------------------------------------------------
    def test_start_up(self):
        q = self.q
        self.assertEqual(q.state(), ("Card 1", "Card 2", False, ""))
        for combo in q.combos:
            self.assertEqual([item.name for item in combo[0]], RANKS)
            self.assertFalse([item.name for item in combo[0]
                              if item.getState().contains(q.at.STATE_SELECTED)])
        q.focus_window()
        self.assertEqual(q.focused(), q.combo_edit(0))

    def test_window_on_the_x_server(self):
        from Xlib import display, Xatom
        d = display.Display(SESSION.display)
        try:
            window = d.create_resource_object("window", self.q.xid)
            name = window.get_full_property(d.intern_atom("_NET_WM_NAME"), d.intern_atom("UTF8_STRING"))
            self.assertEqual(name.value.decode(), "Quorvel v0.9")
            geometry = window.get_geometry()
            self.assertEqual((geometry.width, geometry.height), (243, 120))
            hints = window.get_wm_normal_hints()
            self.assertEqual((hints.min_width, hints.min_height), (243, 120))
            self.assertEqual((hints.max_width, hints.max_height), (243, 120))
            origin = window.translate_coords(d.screen().root, 0, 0)
            screen = d.screen()
            self.assertEqual((-origin.x, -origin.y), ((screen.width_in_pixels - 243) // 2,
                                                      (screen.height_in_pixels - 120) // 2))
            # The grey, between the controls, as the screen shows it.
            pixel = d.screen().root.get_image(-origin.x + 120, -origin.y + 4, 1, 1, 2, 0xFFFFFFFF).data
            self.assertEqual(tuple(pixel[:3]), (0xC0, 0xC0, 0xC0))
            icon = window.get_full_property(d.intern_atom("_NET_WM_ICON"), Xatom.CARDINAL)
            self.assertIsNotNone(icon)
            self.assertEqual(list(icon.value[:2]), [32, 32])
        finally:
            d.close()

    def test_accessible_names(self):
        q = self.q
        self.assertEqual([q.combo_edit(i).name for i in (0, 1)], ["Card 1", "Card 2"])
        self.assertEqual(q.result_box.name, "Win chance")
        self.assertEqual(q.check_box.name, "Suited")
        self.assertEqual(q.help_button.name, "Help")

    # -- hands ---------------------------------------------------------------------------------
    def test_every_row_and_pair_by_mouse(self):
        q = self.q
        q.focus_window()
        suited = False
        for row, card1 in enumerate(RANKS):
            card2 = RANKS[(row + 5) % 13]
            for first, second in ((card1, card2), (card2, card1)):
                q.pick(0, first)
                q.pick(1, second)
                q.wait_state((first, second, suited, win_chance(first, second, suited)))
                q.click_into(q.check_box)
                suited = not suited
                q.wait_state((first, second, suited, win_chance(first, second, suited)))
        for rank in RANKS:
            q.pick(0, rank)
            q.pick(1, rank)
            q.wait_state((rank, rank, suited, win_chance(rank, rank, suited)))

    def test_arrow_keys_step_through_the_list(self):
        q = self.q
        q.focus_window()
        q.pick(1, "9")
        q.click_into(q.combo_edit(0))
        for step in range(4):
            q.key("Down")
            card1 = RANKS[step]
            q.wait_state((card1, "9", False, win_chance(card1, "9", False)))
        q.key("Up")
        q.wait_state(("3", "9", False, win_chance("3", "9", False)))

    def test_toggles_by_mouse_and_space(self):
        q = self.q
        q.focus_window()
        q.pick(0, "A")
        q.wait_state(("A", "Card 2", False, ""))  # one card alone finds nothing
        q.pick(1, "K")
        q.wait_state(("A", "K", False, "65%"))
        q.click_into(q.check_box)
        q.wait_state(("A", "K", True, "67%"))
        self.assertEqual(q.focused(), q.check_box)
        q.key("space")
        q.wait_state(("A", "K", False, "65%"))
        # The word "Suited" beside the box is no part of it.
        label = next(c for c in q.frame if c.getRole() == q.at.ROLE_LABEL and c.name == "Suited")
        q.click_into(label)
        q.key("Tab")  # a round trip through the event queue before looking again
        q.wait_state(("A", "K", False, "65%"))

    def test_typed_text_runs_nothing_and_stays(self):
        q = self.q
        q.show_hand("A", "K")
        q.type_over(q.combo_edit(1), "k")
        q.key("Tab")
        wait_for(lambda: q.focused() == q.result_box, 10, what="the focus to move on")
        q.wait_state(("A", "k", False, "65%"))
        q.key("shift+Tab")
        q.key("Return")
        q.click_into(q.result_box)
        q.wait_state(("A", "k", False, "65%"))
        # The next evaluation reads "k", which no rule knows: the old answer goes.
        q.click_into(q.check_box)
        q.wait_state(("A", "k", True, ""))
        # A typed rank counts like a picked one.
        q.type_over(q.combo_edit(1), "Q")
        q.click_into(q.check_box)
        q.wait_state(("A", "Q", False, "64%"))

    def test_typing_into_the_result(self):
        q = self.q
        self.assertEqual(q.show_hand("9", "8"), "48%")
        q.type_over(q.result_box, "99%")
        q.wait_state(("9", "8", False, "99%"))
        q.click_into(q.check_box)
        q.wait_state(("9", "8", True, "50%"))

    # -- Help ------------------------------------------------------------------------------------
    def _help_dialog(self):
        for child in self.q.app:
            if child is not None and child.name == "Quorvel" and self.q.showing(child):
                return child
        return None

    def _dialog_text(self, dialog):
        labels = [c for c in dialog if c.getRole() == self.q.at.ROLE_LABEL and c.name]
        return " | ".join(label.name for label in labels)

    def check_help(self, close):
        q = self.q
        q.show_hand("J", "10")
        q.click_into(q.check_box)
        before = ("J", "10", True, "57%")
        q.wait_state(before)
        q.click_into(q.help_button)
        dialog = wait_for(self._help_dialog, 10, what="the Help message")
        self.assertEqual(self._dialog_text(dialog), HELP_TEXT)
        buttons = q.descendants(dialog, q.at.ROLE_PUSH_BUTTON)
        self.assertEqual([b.name for b in buttons], ["OK"])
        # The window behind takes no input while the message is open.
        q.click_into(q.check_box)
        close(dialog, buttons[0])
        wait_for(lambda: self._help_dialog() is None, 10, what="the Help message to close")
        q.wait_state(before)

    def test_help_closed_by_ok(self):
        self.check_help(lambda dialog, ok: self.q.click_into(ok))

    def test_help_closed_by_enter(self):
        self.check_help(lambda dialog, ok: self.q.key("Return"))

    def test_help_closed_by_escape(self):
        self.check_help(lambda dialog, ok: self.q.key("Escape"))

    # -- keyboard --------------------------------------------------------------------------------
    def test_tab_cycle(self):
        q = self.q
        q.focus_window()
        cycle = [q.combo_edit(1), q.result_box, q.check_box, q.help_button, q.combo_edit(0)]
        for expected in cycle:
            q.key("Tab")
            wait_for(lambda: q.focused() == expected, 10, what=f"focus on {expected.name}")

    def test_escape_and_enter_press_nothing(self):
        q = self.q
        q.focus_window()
        q.key("Escape")
        q.key("Return")
        q.key("Tab")
        q.key("Tab")
        q.key("Return")
        q.key("Escape")
        wait_for(lambda: q.focused() == q.result_box, 10, what="the focus on the result")
        self.assertIsNone(self._help_dialog())
        self.assertEqual(q.state(), ("Card 1", "Card 2", False, ""))

    # -- the end -------------------------------------------------------------------------------
    def test_closing_ends_the_program(self):
        q = self.q
        pid = q.process.pid
        q.close()
        self.assertEqual(q.process.wait(timeout=10), 0)
        with self.assertRaises(ProcessLookupError):
            os.killpg(pid, 0)  # nothing of it left running


if __name__ == "__main__":
    BINARY = os.path.abspath(sys.argv[1])
    ARTIFACTS = os.path.abspath(sys.argv[2])
    os.makedirs(ARTIFACTS, exist_ok=True)
    # The accessibility bindings warn about their own deprecated calls; that is not ours to fix.
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[3:], warnings="ignore")
