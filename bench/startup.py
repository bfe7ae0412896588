# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""Start-up cost of Quorvel against the floor of a bare Qt Widgets window, and click-to-answer time.

Run on its own X server and D-Bus session (`make startup` starts them with xvfb-run and
dbus-run-session), it launches Quorvel, the floor program and a window of
the same widget kinds alternately and reports, for each, the time from process start to the
window being shown (mapped and first drawn, seen through the X server's DAMAGE extension), the
peak resident memory, and the instructions executed from launch to shown (callgrind, killed once
shown). It does so twice: on the system's fonts, and on a desktop-sized font set (--desktop-fonts)
of Debian font packages fetched with apt-get download and extracted into the build tree, not
installed, and selected with FONTCONFIG_FILE. Then the ratios, and the shared libraries and
plugins Quorvel loads beyond the floor's. Last, with real X input (XTEST), the time from a pick
in a card's list to the result box being redrawn.

Usage: startup.py QUORVEL FLOOR --kinds KINDS [--desktop-fonts DIR] [--runs N]
                  [--callgrind-runs N] [--clicks N]
"""

import argparse
import glob
import os
import re
import select
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from xsession import wait_for  # noqa: E402

from Xlib import X, display  # noqa: E402
from Xlib.ext import damage, xtest  # noqa: E402

TEXT1 = (152, 44, 57, 30)        # the result box, in the window
COMBO1 = (8, 48, 57, 21)
COMBO2 = (80, 48, 57, 21)
RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]


class Watcher:
    """Watches the X server for new top-level windows being mapped and drawn."""

    def __init__(self, display_name):
        self.d = display.Display(display_name)
        self.d.set_error_handler(lambda *args: None)  # a window may go before we look at it
        self.d.damage_query_version()
        self.damage_event = self.d.extension_event.DamageNotify
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()

    def next_event(self, deadline):
        while not self.d.pending_events():
            remaining = deadline - time.perf_counter()
            if remaining <= 0:
                raise TimeoutError("no event from the X server in time")
            select.select([self.d], [], [], remaining)
        return self.d.next_event()

    def drain(self, quiet=0.05):
        while True:
            if not self.d.pending_events():
                ready, _, _ = select.select([self.d], [], [], quiet)
                if not ready:
                    return
            self.d.next_event()

    def wait_shown(self, timeout):
        """Time at which a new top-level window is mapped and first drawn, and its id."""
        deadline = time.perf_counter() + timeout
        mapped = set()
        while True:
            event = self.next_event(deadline)
            if event.type == X.CreateNotify and event.parent == self.root:
                event.window.damage_create(damage.DamageReportNonEmpty)
                self.d.flush()
            elif event.type == X.MapNotify and not event.override:
                mapped.add(event.window.id)
            elif event.type == self.damage_event and event.drawable.id in mapped:
                return time.perf_counter(), event.drawable.id


def resident_peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(re.search(r"VmHWM:\s+(\d+)", status.read()).group(1))


def shared_objects(pid):
    with open(f"/proc/{pid}/maps") as maps:
        return {line.split()[-1] for line in maps if ".so" in line.split()[-1]}


def stop(process):
    if process.poll() is None:
        process.kill()
    process.wait()


# A desktop with many faces: Noto for most scripts, its CJK faces, FreeFont and the Chrome OS faces.
DESKTOP_FONT_PACKAGES = ["fonts-noto-core", "fonts-noto-ui-core", "fonts-noto-cjk",
                         "fonts-noto-extra", "fonts-freefont-ttf", "fonts-croscore"]


def desktop_fonts(folder):
    """A fontconfig file for the system's fonts plus the desktop packages, unpacked in `folder`."""
    os.makedirs(folder, exist_ok=True)
    config = os.path.join(folder, "fonts.conf")
    if not os.path.exists(config):
        download = ["apt-get", "download", *DESKTOP_FONT_PACKAGES]
        if subprocess.run(download, cwd=folder).returncode != 0:
            subprocess.run(["apt-get", "update"], check=True)  # a fresh machine has no lists
            subprocess.run(download, cwd=folder, check=True)
        for deb in glob.glob(os.path.join(folder, "*.deb")):
            subprocess.run(["dpkg-deb", "-x", deb, os.path.join(folder, "root")], check=True)
        with open(config + ".new", "w") as conf:
            conf.write(f"""<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="no">/etc/fonts/fonts.conf</include>
  <dir>{folder}/root/usr/share/fonts</dir>
  <cachedir>{folder}/cache</cachedir>
</fontconfig>
""")
        os.rename(config + ".new", config)
    subprocess.run(["fc-cache"], env=dict(os.environ, FONTCONFIG_FILE=config), check=True)
    return config


def face_count(env):
    listing = subprocess.run(["fc-list"], env=dict(os.environ, **env), capture_output=True,
                             text=True, check=True).stdout
    return len(listing.splitlines())


def launch(argv, **env):
    """Starts a program on this display, as a user would from a terminal."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", **env)
    env.pop("WAYLAND_DISPLAY", None)
    return subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def launch_once(watcher, program, env):
    start = time.perf_counter()
    process = launch([program], **env)
    try:
        shown, _ = watcher.wait_shown(30)
        time.sleep(0.2)  # let the first frame settle before reading the high-water mark
        return shown - start, resident_peak_kib(process.pid), shared_objects(process.pid)
    finally:
        stop(process)
        watcher.drain()


def instructions_once(watcher, program, workdir, env):
    out = os.path.join(workdir, "callgrind.out")
    for old in glob.glob(out + "*"):
        os.remove(old)
    # The first dump ends with the first frame put on the screen: the count up to it does not
    # depend on when the program is stopped afterwards.
    process = launch(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                              "--dump-after=QWidgetRepaintManager::paintAndFlush*", program], **env)
    try:
        watcher.wait_shown(600)
        return wait_for(lambda: dumped_total(out + ".1"), 120, what="callgrind's first dump")
    finally:
        stop(process)
        watcher.drain()


def dumped_total(path):
    """The instruction count of a complete callgrind dump, or None while it is being written."""
    if not os.path.exists(path):
        return None
    with open(path) as counts:
        for line in counts:
            if line.startswith("totals:"):
                return int(line.split()[1])
    return None


class Player:
    """Real X input at a window's coordinates."""

    def __init__(self, watcher, window_id):
        self.w = watcher
        self.d = watcher.d
        window = self.d.create_resource_object("window", window_id)
        origin = window.translate_coords(self.w.root, 0, 0)
        self.x, self.y = -origin.x, -origin.y
        self.window = window

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=int(x), y=int(y))
        self.d.sync()

    def button(self, kind):
        xtest.fake_input(self.d, kind, 1)
        self.d.flush()

    def open_list(self, combo, timeout=5):
        left, top, width, height = combo
        self.move(self.x + left + width - 5, self.y + top + height // 2)
        self.button(X.ButtonPress)
        self.button(X.ButtonRelease)
        deadline = time.perf_counter() + timeout
        while True:
            event = self.w.next_event(deadline)
            if event.type == X.MapNotify and event.override:
                geometry = event.window.get_geometry()
                origin = event.window.translate_coords(self.w.root, 0, 0)
                return -origin.x, -origin.y, geometry.width, geometry.height, event.window.id

    def pick_time(self, combo, rank, timeout=5, answered=True):
        """Seconds from the button's release on `rank` to the result box being redrawn.

        A pick that leaves the answer as it was (`answered` false) redraws nothing to wait for.
        """
        px, py, pw, ph, popup = self.open_list(combo)
        row = ph / len(RANKS)
        item_y = py + (RANKS.index(rank) + 0.5) * row
        self.move(px + pw // 2 - 3, item_y)
        self.move(px + pw // 2, item_y)  # hover, as a hand does on its way to the item
        self.button(X.ButtonPress)
        self.d.sync()
        self.w.drain(0.02)
        start = time.perf_counter()
        self.button(X.ButtonRelease)
        deadline = start + timeout
        left, top, width, height = TEXT1
        drawn = None if answered else 0
        unmapped = False
        while drawn is None or not unmapped:
            event = self.w.next_event(deadline)
            if event.type == self.w.damage_event and event.drawable.id == self.window.id \
                    and drawn is None:
                area = event.area
                if area.x < left + width and area.x + area.width > left and \
                        area.y < top + height and area.y + area.height > top:
                    drawn = time.perf_counter() - start
            elif event.type == X.UnmapNotify and event.window.id == popup:
                unmapped = True
        self.w.drain(0.02)
        return drawn


def click_to_answer(watcher, program, clicks):
    process = launch([program])
    try:
        _, window_id = watcher.wait_shown(30)
        watcher.drain()
        player = Player(watcher, window_id)
        player.window.damage_create(damage.DamageReportRawRectangles)
        player.pick_time(COMBO1, "A", answered=False)  # with Card 2 still unpicked
        times = []
        for click in range(clicks):
            # Alternate so that every pick changes the answer (65% and 64%).
            times.append(player.pick_time(COMBO2, "K" if click % 2 else "Q"))
        return times
    finally:
        stop(process)


def spread(values, scale=1.0, unit=""):
    values = [v * scale for v in values]
    return (f"median {statistics.median(values):.1f}{unit}, "
            f"range {min(values):.1f}-{max(values):.1f}{unit}")


def measure(watcher, programs, args, workdir, env):
    """Times, peak memory and instructions of each program, launched alternately."""
    for program in programs.values():  # unmeasured: warms the file cache and the session bus
        launch_once(watcher, program, env)
    times = {name: [] for name in programs}
    memory = {name: [] for name in programs}
    libraries = {}
    for _ in range(args.runs):
        for name, program in programs.items():
            seconds, kib, objects = launch_once(watcher, program, env)
            times[name].append(seconds)
            memory[name].append(kib)
            libraries[name] = objects
    instructions = {name: [instructions_once(watcher, program, workdir, env)
                           for _ in range(args.callgrind_runs)]
                    for name, program in programs.items()}
    return times, memory, instructions, libraries


def report(title, programs, times, memory, instructions):
    print(f"{title}, {len(times['floor'])} launches each, alternating, private Xvfb:")
    for name in programs:
        print(f"  {name:8} time to shown {spread(times[name], 1000, ' ms')}; "
              f"peak RSS {spread(memory[name], 1 / 1024, ' MiB')}; "
              f"instructions {', '.join(f'{n:,}' for n in instructions[name])}")

    def ratio(values, name, base):
        return statistics.median(values[name]) / statistics.median(values[base])
    for base in ("floor", "kinds"):
        for name in [n for n in programs if n not in ("floor", base)]:
            print(f"  {name} / {base}: time {ratio(times, name, base):.2f}, "
                  f"memory {ratio(memory, name, base):.2f}, "
                  f"instructions {ratio(instructions, name, base):.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("quorvel")
    parser.add_argument("floor")
    parser.add_argument("--kinds", required=True, help="a window of the same widget kinds, in the "
                        "default font and with no logic")
    parser.add_argument("--desktop-fonts", help="folder for the desktop-sized font set")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--callgrind-runs", type=int, default=2)
    parser.add_argument("--clicks", type=int, default=60)
    args = parser.parse_args()
    programs = {"quorvel": os.path.abspath(args.quorvel), "floor": os.path.abspath(args.floor),
                "kinds": os.path.abspath(args.kinds)}
    font_sets = [{}]
    if args.desktop_fonts:  # built first, so that no launch builds a font cache
        font_sets.append({"FONTCONFIG_FILE": desktop_fonts(os.path.abspath(args.desktop_fonts))})
    font_sets = [(f"{'desktop' if env else 'system'} fonts, {face_count(env):,} faces", env)
                 for env in font_sets]

    with tempfile.TemporaryDirectory() as workdir:
        watcher = Watcher(os.environ["DISPLAY"])
        for title, env in font_sets:
            times, memory, instructions, libraries = measure(watcher, programs, args,
                                                             workdir, env)
            report(title, programs, times, memory, instructions)
            extra = sorted(libraries["quorvel"] - libraries["floor"])
            print("  shared objects loaded beyond the floor's: " + (", ".join(extra) or "none"),
                  flush=True)
        clicks = click_to_answer(watcher, programs["quorvel"], args.clicks)
    print(f"click to answer, {len(clicks)} picks in Card 2's list: {spread(clicks, 1000, ' ms')}")


if __name__ == "__main__":
    main()
