"""The program's widgets as a screen reader sees them over AT-SPI."""

import json
import os
import subprocess

from polling import wait_for

_DUMP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_dump.py")
# The system interpreter: the AT-SPI bindings are a Debian package.
SYSTEM_PYTHON = "/usr/bin/python3"


def snapshot(session, pid):
    """The program's accessible tree, or None while it is not published."""
    result = subprocess.run([SYSTEM_PYTHON, _DUMP, str(pid)], env=session.env, capture_output=True,
                            text=True, timeout=15)
    if result.returncode != 0:
        raise RuntimeError(f"reading the accessibility tree failed: {result.stderr.strip()}")
    return json.loads(result.stdout)


def walk(node):
    yield node
    for child in node["children"]:
        yield from walk(child)


def find_all(tree, role):
    return [node for node in walk(tree) if node["role"] == role]


def wait_for_tree(session, pid, ready, what):
    """Polls until ready(tree) holds; returns that tree."""
    holder = {}

    def look():
        tree = snapshot(session, pid)
        if tree is not None and ready(tree):
            holder["tree"] = tree
            return True
        return False

    wait_for(look, what)
    return holder["tree"]
