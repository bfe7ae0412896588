# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""A private X server, D-Bus session and accessibility bus, and the programs started on them.

Used by the end-to-end tests, the installed-package check, the start-up benchmark and the
screen-reader transcript. Every process started here is ended by its id when the session closes.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

AT_SPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def missing(accessibility=True):
    """What a session needs and this machine lacks, each with the Debian package that has it."""
    needs = [("Xvfb", "xvfb"), ("xdotool", "xdotool"), ("dbus-daemon", "dbus"),
             ("dbus-send", "dbus")]
    if accessibility:
        needs.append((AT_SPI_LAUNCHER, "at-spi2-core"))
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


def _read_line(stream, timeout, what):
    ready, _, _ = select.select([stream], [], [], timeout)
    if not ready:
        raise TimeoutError(f"{what} did not start within {timeout}s")
    return stream.readline().decode().strip()


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


class XSession:
    def __init__(self, accessibility=True, size="1280x1024"):
        self.accessibility = accessibility
        self.size = size
        self.processes = []
        self.env = None
        self.display = None
        self.runtime_dir = None

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _spawn(self, argv, **kwargs):
        process = subprocess.Popen(argv, start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def _start(self):
        self.runtime_dir = tempfile.mkdtemp(prefix="quorvel-xdg-")
        os.chmod(self.runtime_dir, 0o700)
        # -displayfd: the server picks a free display and tells us which.
        read_end, write_end = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.size + "x24",
                     "-nolisten", "tcp", "-noreset"],
                    pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as stream:
            self.display = ":" + _read_line(stream, 20, "Xvfb")

        self.env = {key: value for key, value in os.environ.items()
                    if key not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                                   "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS")}
        self.env.update(DISPLAY=self.display, XDG_RUNTIME_DIR=self.runtime_dir,
                        QT_QPA_PLATFORM="xcb", NO_AT_BRIDGE="0")

        dbus = self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            "--print-address=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, env=self.env)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = _read_line(dbus.stdout, 20, "dbus-daemon")

        if self.accessibility:
            self._spawn([AT_SPI_LAUNCHER, "--launch-immediately"], env=self.env,
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: self._dbus("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"),
                     20, what="the accessibility bus")
            # What a screen reader does when it starts: tell applications to expose themselves.
            self._dbus("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                       "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true")

    def _dbus(self, destination, path, method, *args):
        result = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=" + destination,
                                 path, method, *args], env=self.env, capture_output=True)
        return result.returncode == 0

    def launch(self, argv, output=subprocess.DEVNULL, **env):
        """Starts a program on this display, as a user would from a terminal."""
        return self._spawn(argv, env=dict(self.env, **env), stdout=output, stderr=output)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
            if process.stdout:
                process.stdout.close()
        self.processes = []
        if self.runtime_dir:
            shutil.rmtree(self.runtime_dir, ignore_errors=True)
            self.runtime_dir = None
