"""A private desktop for one test script: Xvfb, a D-Bus session bus, the
accessibility bus and, on request, the openbox window manager.

Everything started here carries a marker in its environment, so that on the
way out even processes that left our process groups (bus-activated services)
are found and ended, and a guard process does the same if the test itself is
killed: a failed test must not leave a server running.
"""

import ctypes
import os
import signal
import subprocess
import sys
import tempfile
import uuid

from leftovers import MARKER_VARIABLE, end_marked
from polling import wait_for

SCREEN_WIDTH_PIXELS = 1280
SCREEN_HEIGHT_PIXELS = 1024
# Given to Xvfb so that twips convert at 15 per pixel; the tests still read
# the resolution back from the server rather than trusting the flag.
SCREEN_DPI = 96

_PR_SET_PDEATHSIG = 1


def die_with_parent():
    """Run in a child before exec: should the test itself be killed outright,
    where no clean-up of its own can run, the kernel ends the child too."""
    ctypes.CDLL(None, use_errno=True).prctl(_PR_SET_PDEATHSIG, signal.SIGKILL, 0, 0, 0)


class XSession:
    def __init__(self, window_manager):
        if window_manager not in ("none", "openbox"):
            raise ValueError("window manager must be 'none' or 'openbox'")
        self.window_manager = window_manager
        self.marker = uuid.uuid4().hex
        self.env = None
        self.display = None
        self._processes = []
        self._guard = None
        self._temp = None

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _spawn(self, argv, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=self.env, start_new_session=True, preexec_fn=die_with_parent,
                                   **kwargs)
        self._processes.append(process)
        return process

    def _start(self):
        # Started first and without the marker, so that it outlives all else.
        self._guard = subprocess.Popen(
            [sys.executable, os.path.join(os.path.dirname(os.path.abspath(__file__)), "leftovers.py"),
             str(os.getpid()), self.marker],
            start_new_session=True, stdin=subprocess.DEVNULL)
        self._temp = tempfile.TemporaryDirectory(prefix="quoteshow-e2e-session-")
        runtime_dir = os.path.join(self._temp.name, "runtime")
        os.mkdir(runtime_dir, 0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self._temp.name,
            "LANG": "C.UTF-8",
            "XDG_RUNTIME_DIR": runtime_dir,
            MARKER_VARIABLE: self.marker,
        }

        # Xvfb picks a free display itself and writes its number to the pipe.
        read_end, write_end = os.pipe()
        self._spawn(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_WIDTH_PIXELS}x{SCREEN_HEIGHT_PIXELS}x24", "-dpi", str(SCREEN_DPI),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not report a display number")
        self.display = ":" + number
        self.env["DISPLAY"] = self.display

        # The session bus; its first line of output is its address.
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
                          stdout=subprocess.PIPE, text=True)
        address = bus.stdout.readline().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not report an address")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

        # The accessibility bus publishes its address on the root window; the
        # program and the screen-reader side both find it there.
        self._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for(lambda: "unix:" in self.run(["xprop", "-root", "AT_SPI_BUS"]).stdout,
                 "the accessibility bus to start")

        if self.window_manager == "openbox":
            self._spawn(["openbox", "--sm-disable"])
            wait_for(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]).stdout,
                     "openbox to manage the screen")

    def run(self, argv, check=False, timeout=10):
        """Runs a short X client (xprop, xdotool, ...) on this display."""
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check,
                              timeout=timeout)

    def close(self):
        for process in reversed(self._processes):
            _end_group(process)
        self._processes.clear()
        if self.env is not None:
            end_marked(self.env[MARKER_VARIABLE])
        if self._guard is not None:
            _end_group(self._guard)
            self._guard = None
        if self._temp is not None:
            self._temp.cleanup()
            self._temp = None


def _end_group(process):
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait(timeout=5)
    if process.stdout:
        process.stdout.close()
