# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""Start-up cost of Quorvel against a bare Qt window (the yardstick) and a window of the same widget
kinds (the yardstick given "kinds"), and click-to-answer time, as the README's "Start-up cost"
describes; `make startup` runs it on its own Xvfb and D-Bus session.

Usage: startup.py QUORVEL YARDSTICK [DESKTOP_FONTCONFIG_FILE]
"""

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

RUNS, CALLGRIND_RUNS, CLICKS = 20, 2, 60
RESULT, CARD1, CARD2 = (152, 44, 57, 30), (8, 48, 57, 21), (80, 48, 57, 21)  # in the window
RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]

d = display.Display()
d.set_error_handler(lambda *args: None)  # a window may go before we look at it
d.damage_query_version()
DAMAGE = d.extension_event.DamageNotify
root = d.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.sync()


def next_event(deadline):
    while not d.pending_events():
        if not select.select([d], [], [], max(0, deadline - time.perf_counter()))[0]:
            raise TimeoutError("no event from the X server in time")
    return d.next_event()


def drain(quiet=0.05):
    while d.pending_events() or select.select([d], [], [], quiet)[0]:
        d.next_event()


def wait_shown(timeout):
    """Time at which a new top-level window is mapped and first drawn (DAMAGE), and its id."""
    deadline = time.perf_counter() + timeout
    mapped = set()
    while True:
        event = next_event(deadline)
        if event.type == X.CreateNotify and event.parent == root:
            event.window.damage_create(damage.DamageReportNonEmpty)
            d.flush()
        elif event.type == X.MapNotify and not event.override:
            mapped.add(event.window.id)
        elif event.type == DAMAGE and event.drawable.id in mapped:
            return time.perf_counter(), event.drawable.id


def launch(argv, env={}):
    """Starts a program on this display, as a user would from a terminal."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", **env)
    env.pop("WAYLAND_DISPLAY", None)
    return subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def stop(process):
    process.kill()
    process.wait()
    drain()


def first_frame(program, env):
    """Seconds to the first frame, peak resident KiB and the shared objects loaded."""
    start = time.perf_counter()
    process = launch(program, env)
    try:
        shown, _ = wait_shown(30)
        time.sleep(0.2)  # let the first frame settle before reading the high-water mark
        with open(f"/proc/{process.pid}/status") as status:
            kib = int(re.search(r"VmHWM:\s+(\d+)", status.read()).group(1))
        with open(f"/proc/{process.pid}/maps") as maps:
            objects = {line.split()[-1] for line in maps if ".so" in line.split()[-1]}
        return shown - start, kib, objects
    finally:
        stop(process)


def instructions(program, env, workdir):
    out = os.path.join(tempfile.mkdtemp(dir=workdir), "callgrind.out")
    # The first dump ends with the first frame put on the screen: the count up to it does not
    # depend on when the program is stopped afterwards.
    process = launch(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                      "--dump-after=QWidgetRepaintManager::paintAndFlush*", *program], env)

    def total():  # None while the dump is being written
        if os.path.exists(out + ".1"):
            with open(out + ".1") as counts:
                return next((int(line.split()[1]) for line in counts
                             if line.startswith("totals:")), None)
    try:
        wait_shown(600)
        return wait_for(total, 120, what="callgrind's first dump")
    finally:
        stop(process)


def move(x, y):
    xtest.fake_input(d, X.MotionNotify, x=int(x), y=int(y))
    d.sync()


def click(*kinds):
    for kind in kinds:
        xtest.fake_input(d, kind, 1)
        d.flush()


def pick_time(window, combo, rank, answered=True):
    """Seconds from the button's release on `rank` in a card's list to the result box being
    redrawn; a pick that leaves the answer as it was (`answered` false) redraws nothing."""
    origin = window.translate_coords(root, 0, 0)
    left, top, width, height = combo
    move(left + width - 5 - origin.x, top + height // 2 - origin.y)
    click(X.ButtonPress, X.ButtonRelease)
    deadline = time.perf_counter() + 5
    while not ((event := next_event(deadline)).type == X.MapNotify and event.override):
        pass
    popup, size = event.window, event.window.get_geometry()
    origin = popup.translate_coords(root, 0, 0)
    x, y = size.width // 2 - origin.x, (RANKS.index(rank) + 0.5) * size.height / len(RANKS)
    move(x - 3, y - origin.y)
    move(x, y - origin.y)  # hover, as a hand does on its way to the item
    click(X.ButtonPress)
    d.sync()
    drain(0.02)
    start = time.perf_counter()
    click(X.ButtonRelease)
    left, top, width, height = RESULT
    drawn, unmapped = None if answered else 0, False
    while drawn is None or not unmapped:
        event = next_event(start + 5)
        if event.type == DAMAGE and event.drawable.id == window.id and drawn is None:
            area = event.area
            if area.x < left + width and area.x + area.width > left and \
                    area.y < top + height and area.y + area.height > top:
                drawn = time.perf_counter() - start
        elif event.type == X.UnmapNotify and event.window.id == popup.id:
            unmapped = True
    drain(0.02)
    return drawn


def click_to_answer(program):
    process = launch(program)
    try:
        window = d.create_resource_object("window", wait_shown(30)[1])
        drain()
        window.damage_create(damage.DamageReportRawRectangles)
        pick_time(window, CARD1, "A", answered=False)  # with Card 2 still unpicked
        # Alternate so that every pick changes the answer (65% and 64%).
        return [pick_time(window, CARD2, "K" if n % 2 else "Q") for n in range(CLICKS)]
    finally:
        stop(process)


def spread(values, scale=1.0, unit=""):
    values = [v * scale for v in values]
    return (f"median {statistics.median(values):.1f}{unit}, "
            f"range {min(values):.1f}-{max(values):.1f}{unit}")


def measure(title, programs, env, workdir):
    """Each program launched alternately: times, peak memory, instructions, then the ratios."""
    for program in programs.values():  # unmeasured: warms the file cache and the session bus
        first_frame(program, env)
    runs = [{name: first_frame(program, env) for name, program in programs.items()}
            for _ in range(RUNS)]
    times, memory = ({name: [run[name][i] for run in runs] for name in programs} for i in (0, 1))
    counts = {name: [instructions(program, env, workdir)
                     for _ in range(CALLGRIND_RUNS)] for name, program in programs.items()}
    print(f"{title}, {RUNS} launches each, alternating, private Xvfb:")
    for name in programs:
        print(f"  {name:8} time to shown {spread(times[name], 1000, ' ms')}; "
              f"peak RSS {spread(memory[name], 1 / 1024, ' MiB')}; "
              f"instructions {', '.join(f'{n:,}' for n in counts[name])}")
    for name, base in [("quorvel", "floor"), ("kinds", "floor"), ("quorvel", "kinds")]:
        ratios = [statistics.median(values[name]) / statistics.median(values[base])
                  for values in (times, memory, counts)]
        print(f"  {name} / {base}: time {ratios[0]:.2f}, memory {ratios[1]:.2f}, "
              f"instructions {ratios[2]:.2f}")
    extra = sorted(runs[-1]["quorvel"][2] - runs[-1]["floor"][2])
    print("  shared objects loaded beyond the floor's: " + (", ".join(extra) or "none"), flush=True)


def main():
    quorvel, yardstick = map(os.path.abspath, sys.argv[1:3])
    programs = {"quorvel": [quorvel], "floor": [yardstick], "kinds": [yardstick, "kinds"]}
    # The desktop set's cache is built beforehand, so that no launch builds one.
    font_sets = [{}] + [{"FONTCONFIG_FILE": os.path.abspath(conf)} for conf in sys.argv[3:4]]
    with tempfile.TemporaryDirectory() as workdir:
        for env in font_sets:
            faces = subprocess.run(["fc-list"], env=dict(os.environ, **env), capture_output=True,
                                   text=True, check=True).stdout.count("\n")
            measure(f"{'desktop' if env else 'system'} fonts, {faces:,} faces", programs, env,
                    workdir)
    clicks = click_to_answer(programs["quorvel"])
    print(f"click to answer, {len(clicks)} picks in Card 2's list: {spread(clicks, 1000, ' ms')}")


if __name__ == "__main__":
    main()
