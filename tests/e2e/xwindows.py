"""Looking at and acting on top-level windows from outside the program, as
the X server and a window manager see them."""

import ctypes
import re
import threading

from polling import wait_for


def _ere_literal(text):
    """xdotool matches names as POSIX extended regular expressions."""
    return re.sub(r"([.^$*+?()\[\]{}|\\])", r"\\\1", text)


def _ids(result):
    return [int(line) for line in result.stdout.split()]


def visible_windows_named(session, title):
    """Mapped windows whose name contains title."""
    return _ids(session.run(["xdotool", "search", "--onlyvisible", "--name", _ere_literal(title)]))


def visible_windows_of(session, pid):
    """Mapped client windows that the process with this pid owns."""
    return _ids(session.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)]))


def wait_for_window(session, title):
    windows = wait_for(lambda: visible_windows_named(session, title), f"a mapped window named {title!r}")
    return windows[0]


def text_property(session, window, name):
    """A string property such as WM_NAME, decoded; None when unset."""
    output = session.run(["xprop", "-id", str(window), name]).stdout
    match = re.match(r'^\S+\([A-Z0-9_]+\) = "(.*)"\s*$', output, re.S)
    if not match:
        return None
    return re.sub(r'\\(.)', r'\1', match.group(1))


def cardinal_property(session, window, name):
    """A list of numbers such as _NET_FRAME_EXTENTS; None when unset."""
    output = session.run(["xprop", "-id", str(window), name]).stdout
    match = re.match(r'^\S+\(CARDINAL\) = ([0-9, ]+)$', output.strip())
    if not match:
        return None
    return [int(value) for value in match.group(1).split(",")]


def client_geometry(session, window):
    """(x, y, width, height) of the client area, in screen pixels."""
    output = session.run(["xwininfo", "-id", str(window)], check=True).stdout

    def field(label):
        return int(re.search(rf"^\s*{label}:\s*(-?\d+)", output, re.M).group(1))

    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def focus(session, window):
    """Gives the window the keyboard: through the window manager if there
    is one, else directly."""
    # Without xdotool's --sync, whose waits are unbounded; ours is not.
    if session.window_manager == "none":
        session.run(["xdotool", "windowfocus", str(window)], check=True)
    else:
        session.run(["xdotool", "windowactivate", str(window)], check=True)
    wait_for(lambda: int(session.run(["xdotool", "getwindowfocus"]).stdout.strip() or 0) == window,
             "the window to take the keyboard focus")


def press_key(session, window, key):
    """A real key press (XTEST), as from the keyboard, into the window."""
    focus(session, window)
    session.run(["xdotool", "key", "--clearmodifiers", key], check=True)


def pointer_position(session):
    output = session.run(["xdotool", "getmouselocation", "--shell"], check=True).stdout
    values = dict(line.split("=", 1) for line in output.split())
    return int(values["X"]), int(values["Y"])


def click_at(session, x, y):
    # Not "mousemove --sync": it waits for motion that never comes when the
    # pointer already rests there, as after an earlier click at the same spot.
    session.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    wait_for(lambda: pointer_position(session) == (x, y), f"the pointer to reach {x},{y}")
    session.run(["xdotool", "click", "1"], check=True)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def send_delete_window(session, window):
    """Sends the WM_DELETE_WINDOW message that a window manager sends when
    the user closes a window from its title bar."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(_Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(session.display.encode())
    if not display:
        raise RuntimeError(f"cannot open display {session.display}")
    try:
        event = _Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        xlib.XFlush(display)
    finally:
        xlib.XCloseDisplay(display)


class MappedWindowWatch:
    """Records, while it runs, every top-level window of a process that was
    seen mapped, with every name it was seen with. It polls, so it sees a
    window that stays mapped for at least one poll interval."""

    def __init__(self, session, pid, interval_seconds=0.05):
        self._session = session
        self._pid = pid
        self._interval = interval_seconds
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self.seen = {}
        self.errors = []

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join(timeout=10)
        return False

    def _run(self):
        while not self._stop.is_set():
            try:
                for window in visible_windows_of(self._session, self._pid):
                    names = self.seen.setdefault(window, set())
                    name = text_property(self._session, window, "_NET_WM_NAME")
                    # None also when the window went away since the search.
                    if name is not None:
                        names.add(name)
            except Exception as error:
                self.errors.append(error)
            self._stop.wait(self._interval)
