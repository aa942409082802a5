#!/usr/bin/python3
"""Prints what the Quorvane panel shows, read over the accessibility bus
(AT-SPI), as JSON: the date line, the six times top to bottom, and the
selected province option. Run with DBUS_SESSION_BUS_ADDRESS of the session
the program runs in."""
import json
import sys

import pyatspi


def find_app(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def main():
    app = find_app("Quorvane")
    if app is None:
        print(json.dumps(None))
        return 0
    panel = None
    for window in app:
        if window is not None and window.name == "Quorvane":
            panel = window
    if panel is None:
        print(json.dumps(None))
        return 0
    labels, frame, options = [], None, {}
    for node in walk(panel):
        role = node.getRole()
        if role == pyatspi.ROLE_LABEL:
            labels.append((extents(node), node.name))
        elif role == pyatspi.ROLE_FRAME or (role == pyatspi.ROLE_PANEL and node.name == ""):
            if node is not panel:
                frame = extents(node)
        elif role == pyatspi.ROLE_RADIO_BUTTON:
            options[node.name] = node.getState().contains(pyatspi.STATE_CHECKED)
    fx, fy, fw, fh = frame
    inside = [(e, t) for e, t in labels if fx <= e[0] < fx + fw and fy <= e[1] < fy + fh]
    # The time column is the right half of the frame; names stand at the left.
    times = [t for e, t in sorted(inside, key=lambda l: l[0][1]) if e[0] + e[2] > fx + fw * 0.75]
    above = sorted([(e, t) for e, t in labels if e[1] < fy], key=lambda l: l[0][1])
    state = {
        "title": above[0][1] if above else None,
        "date": above[1][1] if len(above) > 1 else None,
        "times": times,
        "options": options,
    }
    print(json.dumps(state, ensure_ascii=False))
    return 0


if __name__ == "__main__":
    sys.exit(main())
