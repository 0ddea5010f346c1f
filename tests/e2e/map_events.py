"""Every top-level window mapped on the screen while a watch runs, caught as
X events rather than by polling, so that even a window shown for a moment
and taken down again is seen.

Without a window manager a top-level window's MapNotify reaches whoever
listens on the root window. Under a window manager the client is mapped
inside its frame, so the frame's MapNotify on the root stands for it.
"""

import ctypes
import select
import threading

_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
_MAP_NOTIFY = 19


class _Event(ctypes.Structure):
    # The XMapEvent layout, padded to the size of the XEvent union.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int), ("pad", ctypes.c_long * 18)]


def _xlib():
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
    xlib.XPending.argtypes = [ctypes.c_void_p]
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_Event)]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


class RootMapWatch:
    """Collects the ids of windows mapped as children of the root window:
    top-level windows, the frames a window manager puts around them, and
    pop-ups (override-redirect) alike."""

    def __init__(self, session):
        self._xlib = _xlib()
        self._display = self._xlib.XOpenDisplay(session.display.encode())
        if not self._display:
            raise RuntimeError(f"cannot open display {session.display}")
        root = self._xlib.XDefaultRootWindow(self._display)
        self._xlib.XSelectInput(self._display, root, _SUBSTRUCTURE_NOTIFY_MASK)
        # Listening from here on, before the caller starts anything.
        self._xlib.XSync(self._display, 0)
        self._fd = self._xlib.XConnectionNumber(self._display)
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self.mapped = []

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join(timeout=10)
        # A round trip brings in every event the server has generated so far.
        self._xlib.XSync(self._display, 0)
        self._drain()
        self._xlib.XCloseDisplay(self._display)
        return False

    def _drain(self):
        event = _Event()
        while self._xlib.XPending(self._display):
            self._xlib.XNextEvent(self._display, ctypes.byref(event))
            if event.type == _MAP_NOTIFY:
                self.mapped.append(event.window)

    def _run(self):
        while not self._stop.is_set():
            self._drain()
            select.select([self._fd], [], [], 0.05)
