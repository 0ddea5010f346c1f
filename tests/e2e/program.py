"""The program under test, started as a user would start it: from a given
working directory, with the given words as its command line."""

import os
import signal
import subprocess
import tempfile

from polling import wait_for
from xsession import die_with_parent


class QuoteShow:
    def __init__(self, session, binary, cwd, args=()):
        self._runtime = tempfile.TemporaryDirectory(prefix="quoteshow-e2e-runtime-")
        os.chmod(self._runtime.name, 0o700)
        env = dict(session.env)
        env["XDG_RUNTIME_DIR"] = self._runtime.name
        # Qt publishes its widgets to screen readers only when asked to.
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_QPA_PLATFORM"] = "xcb"
        self._stderr = tempfile.TemporaryFile()
        self.process = subprocess.Popen([binary, *args], cwd=cwd, env=env, start_new_session=True,
                                        preexec_fn=die_with_parent,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=self._stderr)
        self.pid = self.process.pid

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, what, timeout=2.0):
        """The exit status once the program has ended by itself."""
        wait_for(lambda: not self.running(), what, timeout=timeout)
        return self.process.returncode

    def stderr_text(self):
        self._stderr.seek(0)
        return self._stderr.read().decode(errors="replace")

    def stop(self):
        if self.running():
            try:
                os.killpg(self.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.process.wait(timeout=5)
        self._stderr.close()
        self._runtime.cleanup()
