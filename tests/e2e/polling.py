"""Bounded waiting: every wait in these tests polls until its condition holds
or its limit passes, so a slow machine costs time, never a false result."""

import time

DEFAULT_TIMEOUT_SECONDS = 10.0
POLL_INTERVAL_SECONDS = 0.05


class WaitTimeout(AssertionError):
    pass


def wait_for(condition, what, timeout=DEFAULT_TIMEOUT_SECONDS):
    """Returns the first truthy value of condition(); raises WaitTimeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except AssertionError:
            raise  # a condition that can no longer come true
        except Exception as error:  # a client failing mid-start is retried
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise WaitTimeout(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(POLL_INTERVAL_SECONDS)
