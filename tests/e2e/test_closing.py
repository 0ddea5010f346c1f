#!/usr/bin/env python3
"""Ending a shown quote window the ways a user does: clicking OK, pressing
Enter or Space on the focused button, and closing it from the title bar.
Each must end the program at once with status 0."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2e_case import check, check_equal, parse_arguments, run_cases  # noqa: E402
from form_view import centre, read_form, wait_for_quote_window  # noqa: E402
from program import QuoteShow  # noqa: E402
from xsession import XSession  # noqa: E402
from xwindows import click_at, press_key, send_delete_window  # noqa: E402

# Ending is immediate in the program; this only absorbs a busy machine.
EXIT_LIMIT_SECONDS = 2.0


def click_ok(session, window, form):
    click_at(session, *centre(form["button"]))


def press_enter(session, window, form):
    press_key(session, window, "Return")


def press_space(session, window, form):
    press_key(session, window, "space")


def close_from_title_bar(session, window, form):
    if session.window_manager == "openbox":
        # The window manager's own close, which asks the program politely.
        press_key(session, window, "alt+F4")
    else:
        # No window manager, no title bar: send the request that a window
        # manager sends when its close button is clicked.
        send_delete_window(session, window)


def main():
    args = parse_arguments(__doc__)
    sample = os.path.join(args.source_dir, "examples", "Jokes.TXT")

    with XSession(args.window_manager) as session, tempfile.TemporaryDirectory(prefix="quoteshow-e2e-") as directory:
        shutil.copy(sample, os.path.join(directory, "Jokes.TXT"))

        def ends_with_status_zero(action):
            with QuoteShow(session, args.program, directory) as program:
                window = wait_for_quote_window(session, program)
                form = read_form(session, program)
                check(program.running(), "the program ended before it was told to")
                action(session, window, form)
                status = program.wait_exit(f"the program to end within {EXIT_LIMIT_SECONDS} s",
                                           timeout=EXIT_LIMIT_SECONDS)
                check_equal(status, 0, "exit status")

        actions = [
            ("click_ok", click_ok),
            ("press_enter", press_enter),
            ("press_space", press_space),
            ("close_from_title_bar", close_from_title_bar),
        ]
        cases = [(name, lambda action=action: ends_with_status_zero(action)) for name, action in actions]
        return run_cases(f"closing[{args.window_manager}]", cases)


if __name__ == "__main__":
    sys.exit(main())
