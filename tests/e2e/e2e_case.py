"""A small runner for table-driven end-to-end cases: each case runs on its
own, a failure is reported with its name and does not stop the others, and
the run ends with the usual 'N passed, N failed' line and a matching status."""

import argparse
import signal
import sys
import time
import traceback


def _exit_on_signal(signum, frame):
    # Raised as an exception, so that every X server and bus the test
    # started is ended on the way out, as after a failure.
    raise SystemExit(128 + signum)


def parse_arguments(description):
    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, _exit_on_signal)
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--program", required=True, help="the quoteshow executable")
    parser.add_argument("--source-dir", required=True, help="the source tree (for examples/)")
    parser.add_argument("--window-manager", choices=("none", "openbox"), required=True)
    return parser.parse_args()


class CheckFailed(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise CheckFailed(f"{what}: expected {expected!r}, got {actual!r}")


def check_near(actual, expected, tolerance, what):
    if abs(actual - expected) > tolerance:
        raise CheckFailed(f"{what}: expected {expected} (within {tolerance}), got {actual}")


def run_cases(label, cases):
    """cases: (name, callable) pairs; returns the process exit status."""
    passed = failed = 0
    for name, case in cases:
        started = time.monotonic()
        try:
            case()
        except Exception:
            failed += 1
            print(f"FAIL {label}/{name} ({time.monotonic() - started:.1f} s)")
            traceback.print_exc(file=sys.stdout)
        else:
            passed += 1
            print(f"PASS {label}/{name} ({time.monotonic() - started:.1f} s)")
        sys.stdout.flush()
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1
