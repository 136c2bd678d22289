#!/usr/bin/python3
"""Prints what a screen reader finds in the window of the process PID, one line for each
object on the screen: its role, its name and, for the one with the keyboard focus, a star."""
import sys

import pyatspi


def walk(node, lines):
    states = node.getState()
    if not states.contains(pyatspi.STATE_SHOWING):
        return
    focused = "*" if states.contains(pyatspi.STATE_FOCUSED) else ""
    lines.append(f"{node.getRoleName()}|{node.name}{focused}")
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), lines)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    pid = int(sys.argv[1])
    lines = []
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            for i in range(app.childCount):
                walk(app.getChildAtIndex(i), lines)
    print("\n".join(lines))


main()
