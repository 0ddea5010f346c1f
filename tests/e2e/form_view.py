"""Finding the quote window and its three controls from outside."""

from accessibility import find_all, wait_for_tree
from xwindows import visible_windows_of, text_property
from polling import WaitTimeout, wait_for

QUOTE_WINDOW_TITLE = "QuoteShow- Random Quote Viewer, Vers 2.0.4 by The QuoteShow Developers"


def wait_for_quote_window(session, program):
    """The program's mapped window that carries the quote title."""

    def find():
        for window in visible_windows_of(session, program.pid):
            if text_property(session, window, "_NET_WM_NAME") == QUOTE_WINDOW_TITLE:
                return window
        if not program.running():
            raise AssertionError(f"the program ended with status {program.process.returncode}: "
                                 f"{program.stderr_text()}")
        return None

    try:
        return wait_for(find, "the quote window to be mapped")
    except WaitTimeout as timeout:
        shown = {window: text_property(session, window, "_NET_WM_NAME")
                 for window in visible_windows_of(session, program.pid)}
        raise WaitTimeout(f"{timeout}; the program's mapped windows: {shown}") from None


def read_form(session, program):
    """The header label, the quote label and the button as a screen reader
    sees them. The header sits above the quote, so the labels are told apart
    by position, not by what they say."""

    def complete(tree):
        return len(find_all(tree, "label")) == 2 and len(find_all(tree, "push button")) == 1

    tree = wait_for_tree(session, program.pid, complete, "the quote window's controls on the accessibility bus")
    header, quote = sorted(find_all(tree, "label"), key=lambda node: node["extents"][1])
    (button,) = find_all(tree, "push button")
    return {"header": header, "quote": quote, "button": button}


def centre(node):
    x, y, width, height = node["extents"]
    return x + width // 2, y + height // 2
