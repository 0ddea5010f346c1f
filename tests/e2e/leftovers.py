"""Finding and ending what a test session started, by the marker that every
process of the session carries in its environment. Bus-activated services
leave the process groups they were started in, so groups alone miss them.

Run as a script, it is the session's guard: it waits for the test process
to end and then ends whatever of its session is still running, which covers
a test killed outright (SIGKILL, a hard time-out) before it could clean up.
"""

import os
import select
import signal
import sys
import time

MARKER_VARIABLE = "QUOTESHOW_E2E_SESSION"


def marked_pids(marker):
    needle = f"{MARKER_VARIABLE}={marker}".encode()
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as environ:
                if needle in environ.read().split(b"\0"):
                    pids.append(int(entry))
        except OSError:
            continue  # gone, or a zombie
    return pids


def end_marked(marker):
    """Ends, by pid, every process that carries this session's marker."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        pids = marked_pids(marker)
        if not pids:
            return
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline and marked_pids(marker):
            time.sleep(0.05)


def guard(test_pid, marker):
    try:
        pidfd = os.pidfd_open(test_pid)
    except ProcessLookupError:
        pidfd = None
    if pidfd is not None:
        select.select([pidfd], [], [])
    end_marked(marker)


if __name__ == "__main__":
    guard(int(sys.argv[1]), sys.argv[2])
