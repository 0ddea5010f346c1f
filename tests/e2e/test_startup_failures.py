#!/usr/bin/env python3
"""Start-ups that fail: the program shows exactly one message box, captioned
"QuoteShow", with the failure's message, never maps the quote window, and
ends with status 1 once the box is dismissed."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from accessibility import find_all, wait_for_tree, walk  # noqa: E402
from e2e_case import check, check_equal, parse_arguments, run_cases  # noqa: E402
from form_view import QUOTE_WINDOW_TITLE, centre  # noqa: E402
from map_events import RootMapWatch  # noqa: E402
from polling import wait_for  # noqa: E402
from program import QuoteShow  # noqa: E402
from quote_file import numbered_quotes, write_quote_file  # noqa: E402
from xsession import XSession  # noqa: E402
from xwindows import (MappedWindowWatch, click_at, press_key, text_property,  # noqa: E402
                      visible_windows_named, visible_windows_of)

MESSAGE_BOX_CAPTION = "QuoteShow"


def main():
    args = parse_arguments(__doc__)
    sample = os.path.join(args.source_dir, "examples", "Jokes.TXT")

    with XSession(args.window_manager) as session, tempfile.TemporaryDirectory(prefix="quoteshow-e2e-") as root:

        def reports(case_name, prepare, program_args, expected_message, dismiss, program=args.program):
            directory = os.path.join(root, case_name)
            os.mkdir(directory)
            prepare(directory)
            with RootMapWatch(session) as root_maps, \
                    QuoteShow(session, program, directory, program_args) as run, \
                    MappedWindowWatch(session, run.pid) as watch:

                def box_window():
                    windows = visible_windows_of(session, run.pid)
                    if not windows and not run.running():
                        raise AssertionError(f"ended with status {run.process.returncode} and no message box: "
                                             f"{run.stderr_text()}")
                    return windows

                windows = wait_for(box_window, "the message box to be mapped")
                check_equal(len(windows), 1, "mapped windows while the message box is up")
                box = windows[0]
                check_equal(text_property(session, box, "WM_NAME"), MESSAGE_BOX_CAPTION, "box caption (WM_NAME)")
                check_equal(text_property(session, box, "_NET_WM_NAME"), MESSAGE_BOX_CAPTION,
                            "box caption (_NET_WM_NAME)")

                tree = wait_for_tree(session, run.pid, lambda t: find_all(t, "push button"),
                                     "the message box on the accessibility bus")
                # What the box shows, containers aside: the message and one
                # button; an icon would be a visible image among them.
                shown = [(node["role"], node["name"]) for node in walk(tree)
                         if not node["children"] and node["extents"] and node["extents"][2] * node["extents"][3] > 0]
                check_equal(shown, [("label", expected_message), ("push button", "OK")],
                            "what the box shows (one message, no icon, one OK button)")
                buttons = find_all(tree, "push button")

                check(run.running(), "the program ended while its message box was up")
                if dismiss == "enter":
                    press_key(session, box, "Return")
                else:
                    click_at(session, *centre(buttons[0]))
                status = run.wait_exit("the program to end after the message box")
            check_equal(status, 1, "exit status after a failed start-up")
            # Caught as events: not even a flash of another window. Under a
            # window manager the one map on the root is the box's frame.
            if session.window_manager == "none":
                check_equal(root_maps.mapped, [box], "top-level windows mapped during the run")
            else:
                check_equal(len(root_maps.mapped), 1, f"frames mapped during the run ({root_maps.mapped})")
            check(not watch.errors, f"watching the windows failed: {watch.errors}")
            check_equal(watch.seen, {box: {MESSAGE_BOX_CAPTION}}, "windows ever mapped, with their names")
            check_equal(visible_windows_named(session, QUOTE_WINDOW_TITLE), [], "quote windows on the screen")

        def nothing(directory):
            pass

        def empty_file(name):
            return lambda directory: open(os.path.join(directory, name), "wb").close()

        def generated(name, line_count):
            return lambda directory: write_quote_file(os.path.join(directory, name), numbered_quotes(line_count))

        def program_elsewhere():
            # A copy of the program with a quote file beside it, started from
            # a directory without one: the file beside it must not be used.
            bin_dir = os.path.join(root, "bin")
            os.makedirs(bin_dir, exist_ok=True)
            copy = os.path.join(bin_dir, "quoteshow")
            shutil.copy2(args.program, copy)
            shutil.copy(sample, os.path.join(bin_dir, "Jokes.TXT"))
            return copy

        rows = [
            ("missing_default_file", nothing, [], "Error 53: The file Jokes.TXT does not exist.", "enter", None),
            ("missing_named_file_with_blank", nothing, ["no", "such.txt"],
             "Error 53: The file no such.txt does not exist.", "click", None),
            ("quoted_name_keeps_its_quotes", generated("my quotes.txt", 2), ['"my', 'quotes.txt"'],
             'Error 53: The file "my quotes.txt" does not exist.', "enter", None),
            ("missing_directory", nothing, ["nowhere/Jokes.TXT"], "Error 76 Path not found occurred.", "click",
             None),
            ("default_file_only_beside_program", nothing, [], "Error 53: The file Jokes.TXT does not exist.",
             "enter", program_elsewhere),
            ("empty_file", empty_file("Jokes.TXT"), [], "Error 9 Subscript out of range occurred.", "enter", None),
            ("file_of_32767_lines", generated("Jokes.TXT", 32767), [], "Error 6 Overflow occurred.", "click",
             None),
            ("file_of_32768_lines", generated("Jokes.TXT", 32768), [], "Error 6 Overflow occurred.", "enter",
             None),
        ]

        def case(row):
            name, prepare, program_args, message, dismiss, program = row
            binary = program() if program else args.program
            reports(name, prepare, program_args, message, dismiss, binary)

        cases = [(row[0], lambda row=row: case(row)) for row in rows]
        return run_cases(f"startup_failures[{args.window_manager}]", cases)


if __name__ == "__main__":
    sys.exit(main())
