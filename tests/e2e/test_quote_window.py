#!/usr/bin/env python3
"""The quote window of a real run on an X server: its title, the header with
the file name and quote number, the quote itself and the OK button, read from
outside through the X server and the accessibility bus."""

import os
import re
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2e_case import check, check_equal, parse_arguments, run_cases  # noqa: E402
from form_view import QUOTE_WINDOW_TITLE, centre, read_form, wait_for_quote_window  # noqa: E402
from program import QuoteShow  # noqa: E402
from quote_file import display_text, numbered_quotes, read_quotes, write_quote_file  # noqa: E402
from xsession import XSession  # noqa: E402
from xwindows import click_at, text_property, visible_windows_named, visible_windows_of  # noqa: E402


def shows_quote(session, binary, directory, args, quote_path, expected_quotes, header_name):
    """Runs the program and checks every text of its window against the file.
    header_name is how the header names the file; the quote number is read
    from the header and must pick the quote that the label shows."""
    with QuoteShow(session, binary, directory, args) as program:
        window = wait_for_quote_window(session, program)
        check_equal(text_property(session, window, "WM_NAME"), QUOTE_WINDOW_TITLE, "WM_NAME")
        check_equal(text_property(session, window, "_NET_WM_NAME"), QUOTE_WINDOW_TITLE, "_NET_WM_NAME")
        check_equal(visible_windows_of(session, program.pid), [window], "the program's mapped windows")

        form = read_form(session, program)
        header = form["header"]["name"]
        match = re.fullmatch(re.escape(f"File: {header_name}  Quote # ") + r"([0-9]+)", header)
        check(match is not None, f"header {header!r} is not 'File: {header_name}  Quote # <n>'")
        number = int(match.group(1))
        check(1 <= number <= len(expected_quotes),
              f"quote number {number} outside 1..{len(expected_quotes)} in {quote_path}")
        check_equal(form["quote"]["name"], display_text(expected_quotes[number - 1]),
                    f"quote label for quote {number}")
        check_equal(form["button"]["name"], "OK", "button caption")

        # The run ends as the user ends it; the status tells a script all went well.
        click_at(session, *centre(form["button"]))
        check_equal(program.wait_exit("the program to end after OK"), 0, "exit status after OK")
    check_equal(visible_windows_named(session, QUOTE_WINDOW_TITLE), [], "quote windows left after the run")


def main():
    args = parse_arguments(__doc__)
    sample = os.path.join(args.source_dir, "examples", "Jokes.TXT")
    sample_quotes = read_quotes(sample)

    with XSession(args.window_manager) as session, tempfile.TemporaryDirectory(prefix="quoteshow-e2e-") as root:

        def default_file_from_working_directory():
            directory = os.path.join(root, "default")
            os.mkdir(directory)
            shutil.copy(sample, os.path.join(directory, "Jokes.TXT"))
            shows_quote(session, args.program, directory, [], sample, sample_quotes, "Jokes.TXT")

        def blank_in_name_given_as_two_words():
            # The shell splits an unquoted "my quotes.txt" in two; the program
            # joins the words again with a blank.
            directory = os.path.join(root, "blank")
            os.mkdir(directory)
            path = os.path.join(directory, "my quotes.txt")
            lines = ["The only quote,", "written on two lines."]
            write_quote_file(path, lines + ["***"])
            shows_quote(session, args.program, directory, ["my", "quotes.txt"], path, [lines], "my quotes.txt")

        def largest_file_still_shown():
            # 32766 lines is the most the line counter allows for a file
            # that is shown; one line more fails (see the start-up failures).
            directory = os.path.join(root, "largest")
            os.mkdir(directory)
            path = os.path.join(directory, "many.txt")
            write_quote_file(path, numbered_quotes(32766))
            shows_quote(session, args.program, directory, ["many.txt"], path, read_quotes(path), "many.txt")

        cases = [
            ("default_file_from_working_directory", default_file_from_working_directory),
            ("blank_in_name_given_as_two_words", blank_in_name_given_as_two_words),
            ("largest_file_still_shown", largest_file_still_shown),
        ]
        return run_cases(f"quote_window[{args.window_manager}]", cases)


if __name__ == "__main__":
    sys.exit(main())
