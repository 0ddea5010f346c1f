#!/usr/bin/env python3
"""The arranged window measured on a real X server: the stored twip sizes
converted at the screen's resolution, the button right under the quote, the
outer height worked out from the button's bottom, and the window centred.
Run with and without a window manager, since only a window manager adds the
frame that the outer height has to include."""

import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2e_case import check_equal, check_near, parse_arguments, run_cases  # noqa: E402
from form_view import read_form, wait_for_quote_window  # noqa: E402
from polling import WaitTimeout, wait_for  # noqa: E402
from program import QuoteShow  # noqa: E402
from quote_file import write_quote_file  # noqa: E402
from xsession import SCREEN_HEIGHT_PIXELS, SCREEN_WIDTH_PIXELS, XSession  # noqa: E402
from xwindows import cardinal_property, client_geometry  # noqa: E402

TWIPS_PER_INCH = 1440
FORM_CLIENT_WIDTH_TWIPS = 11340
LABEL1_LEFT_TWIPS = 360
LABEL1_TOP_TWIPS = 960
LABEL1_WIDTH_TWIPS = 10800
BUTTON_HEIGHT_TWIPS = 495
BOTTOM_ALLOWANCE_TWIPS = 460
# Integer rounding of twips to pixels, and centring an odd size.
TOLERANCE_PIXELS = 1


def screen_dpi(session):
    output = session.run(["xdpyinfo"], check=True).stdout
    match = re.search(r"resolution:\s*(\d+)x(\d+) dots per inch", output)
    return int(match.group(1)), int(match.group(2))


def measure(session, window, program):
    """Everything in pixels: the client area and the frame from the X server,
    the controls from the accessibility bus, relative to the client area."""
    client_x, client_y, client_width, client_height = client_geometry(session, window)
    if session.window_manager == "none":
        frame_left = frame_right = frame_top = frame_bottom = 0
    else:
        extents = cardinal_property(session, window, "_NET_FRAME_EXTENTS")
        if extents is None:
            return None  # not framed yet
        frame_left, frame_right, frame_top, frame_bottom = extents
    form = read_form(session, program)

    def relative(node):
        x, y, width, height = node["extents"]
        return {"x": x - client_x, "y": y - client_y, "width": width, "height": height}

    return {
        "client_width": client_width,
        "client_height": client_height,
        "outer_x": client_x - frame_left,
        "outer_y": client_y - frame_top,
        "outer_width": client_width + frame_left + frame_right,
        "outer_height": client_height + frame_top + frame_bottom,
        "label1": relative(form["quote"]),
        "button": relative(form["button"]),
    }


def arrangement_errors(m, dpi_x, dpi_y):
    """Every way the measured window differs from its arrangement."""
    twips_per_pixel_x = TWIPS_PER_INCH / dpi_x
    twips_per_pixel_y = TWIPS_PER_INCH / dpi_y
    errors = []

    def expect(actual, expected, what, tolerance=TOLERANCE_PIXELS):
        if abs(actual - expected) > tolerance:
            errors.append(f"{what}: expected {expected} px (within {tolerance}), got {actual} px")

    expect(m["client_width"], round(FORM_CLIENT_WIDTH_TWIPS / twips_per_pixel_x), "client width", 0)
    expect(m["label1"]["width"], round(LABEL1_WIDTH_TWIPS / twips_per_pixel_x), "Label1 width", 0)
    expect(m["label1"]["x"], round(LABEL1_LEFT_TWIPS / twips_per_pixel_x), "Label1 left", 0)
    expect(m["label1"]["y"], round(LABEL1_TOP_TWIPS / twips_per_pixel_y), "Label1 top")
    label1_bottom = m["label1"]["y"] + m["label1"]["height"]
    expect(m["button"]["y"], label1_bottom, "button top against Label1's bottom")
    button_bottom_twips = m["button"]["y"] * twips_per_pixel_y + BUTTON_HEIGHT_TWIPS
    expect(m["outer_height"], round((button_bottom_twips + BOTTOM_ALLOWANCE_TWIPS) / twips_per_pixel_y),
           "outer height")
    expect(m["outer_x"], (SCREEN_WIDTH_PIXELS - m["outer_width"]) / 2, "outer left (centred)")
    expect(m["outer_y"], (SCREEN_HEIGHT_PIXELS - m["outer_height"]) / 2, "outer top (centred)")
    return errors


def main():
    args = parse_arguments(__doc__)

    with XSession(args.window_manager) as session, tempfile.TemporaryDirectory(prefix="quoteshow-e2e-") as root:
        dpi_x, dpi_y = screen_dpi(session)
        print(f"screen resolution {dpi_x}x{dpi_y} dpi")

        def arranged(name, quote_lines):
            directory = os.path.join(root, name)
            os.mkdir(directory)
            write_quote_file(os.path.join(directory, "Jokes.TXT"), quote_lines + ["***"])
            with QuoteShow(session, args.program, directory) as program:
                window = wait_for_quote_window(session, program)
                latest = {}

                # A window manager frames the window after it is mapped and
                # the program then fits itself to that frame: wait for it.
                def settled():
                    latest["m"] = measure(session, window, program)
                    return latest["m"] is not None and not arrangement_errors(latest["m"], dpi_x, dpi_y)

                try:
                    wait_for(settled, "the window to take its arranged geometry")
                except WaitTimeout:
                    pass
                m = latest.get("m")
                if m is None:
                    raise AssertionError("the window manager never reported the frame extents")
                errors = arrangement_errors(m, dpi_x, dpi_y)
                if errors:
                    raise AssertionError(f"measured {m}:\n  " + "\n  ".join(errors))
                print(f"  {name}: {m}")
                return m

        results = {}

        def one_line_quote():
            results["one"] = arranged("one_line", ["A one-line quote."])

        def four_line_quote():
            # The label grows by three lines, the button moves down and the
            # window grows by just as much.
            four = arranged("four_lines", ["First line,", "second line,", "third line,", "fourth line."])
            if "one" not in results:
                results["one"] = arranged("one_line_again", ["A one-line quote."])
            one = results["one"]
            growth = four["label1"]["height"] - one["label1"]["height"]
            check_near(growth, 3 * one["label1"]["height"], 3, "Label1 growth for three more lines")
            check_equal(four["button"]["y"] - one["button"]["y"], growth, "button moved down by the growth")
            check_near(four["outer_height"] - one["outer_height"], growth, TOLERANCE_PIXELS,
                       "window grew by the label's growth")

        cases = [("one_line_quote", one_line_quote), ("four_line_quote", four_line_quote)]
        return run_cases(f"geometry[{args.window_manager}]", cases)


if __name__ == "__main__":
    sys.exit(main())
