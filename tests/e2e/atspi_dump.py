"""Prints, as JSON, what a screen reader sees of one running program: every
accessible object of the application with the given process id, with its
role, name, text and on-screen extents. Run in its own process so that each
look starts from a fresh view of the accessibility bus."""

import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def describe(accessible):
    node = {
        "role": accessible.get_role_name(),
        "name": accessible.get_name(),
        "text": None,
        "extents": None,
        "children": [],
    }
    text = accessible.get_text_iface()
    if text is not None:
        node["text"] = text.get_text(0, text.get_character_count())
    component = accessible.get_component_iface()
    if component is not None:
        rect = component.get_extents(Atspi.CoordType.SCREEN)
        node["extents"] = [rect.x, rect.y, rect.width, rect.height]
    for index in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(index)
        if child is not None:
            node["children"].append(describe(child))
    return node


def main():
    pid = int(sys.argv[1])
    # Milliseconds: a program that is going away must not stall the look.
    Atspi.set_timeout(3000, 3000)
    desktop = Atspi.get_desktop(0)
    found = None
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is None:
            continue
        try:
            if application.get_process_id() == pid:
                found = describe(application)
                break
        except Exception:
            continue  # an application that has just gone
    json.dump(found, sys.stdout)


if __name__ == "__main__":
    main()
