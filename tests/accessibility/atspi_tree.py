#!/usr/bin/python3
"""Reads the running Wertomat's accessible tree over AT-SPI, as a screen
reader would: named input fields, radio buttons, and a results table that
can be read line by line after "Berechnen" has been pressed through AT-SPI,
whose computing is announced, and in which moving and selecting with the
keyboard is announced with the right offsets."""
import sys
import time

import pyatspi
from gi.repository import GLib

from keys import CONTROL, DOWN, LETTER_A, SHIFT, press


def find_application(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == name:
                return application
        time.sleep(0.2)
    sys.exit(f"atspi: no application named {name}")


def walk(node, found):
    found.append(node)
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, found)
    return found


class Events:
    """What the results field announces, gathered from the session bus."""

    def __init__(self, source):
        self.source = source
        self.heard = []
        pyatspi.Registry.registerEventListener(
            self.hear, "object:text-changed:insert", "object:text-caret-moved",
            "object:text-selection-changed")

    def hear(self, event):
        if event.source == self.source:
            self.heard.append((event.type, event.detail1))

    def wait(self, kind, seconds=5):
        """Pumps events until one of `kind` is heard; returns its detail."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            for index, (heard_kind, detail) in enumerate(self.heard):
                if heard_kind == kind:
                    del self.heard[:index + 1]
                    return detail
            GLib.MainContext.default().iteration(False)
            time.sleep(0.01)
        return None




def check_announcements(results, problems):
    """Down, Shift+Down and Ctrl+A in the results, as a screen reader hears them."""
    events = Events(results)
    text = results.queryText()
    results.queryComponent().grabFocus()
    time.sleep(0.5)
    events.heard.clear()
    for line_start in (4, 26):
        press(DOWN)
        moved = events.wait("object:text-caret-moved")
        if moved != line_start:
            problems.append(f"Down: caret moved to {moved}, not {line_start}")
    press(DOWN, SHIFT)
    if events.wait("object:text-selection-changed") is None:
        problems.append("Shift+Down: no selection change heard")
    if text.getSelection(0) != (26, 48):
        problems.append(f"Shift+Down: selection {text.getSelection(0)}")
    press(LETTER_A, CONTROL)
    if events.wait("object:text-selection-changed") is None:
        problems.append("Ctrl+A: no selection change heard")
    if text.getSelection(0) != (0, text.characterCount):
        problems.append(f"Ctrl+A: selection {text.getSelection(0)}, text {text.characterCount}")


def main():
    application = find_application(sys.argv[2])  # after the program's process id
    nodes = walk(application, [])
    roles = [(node.getRoleName(), node.name) for node in nodes]
    problems = []
    for label in ("Xa", "Xsw", "Xe"):
        if ("text", label) not in roles:
            problems.append(f"no text field named {label}")
    radios = [name for role, name in roles if role == "radio button"]
    if len(radios) != 3:
        problems.append(f"radio buttons: {radios}")
    results = [node for node in nodes if node.name == "Ergebnisse" and node.getRoleName() == "text"]
    buttons = [node for node in nodes if node.getRoleName() == "push button" and node.name == "Berechnen"]
    if not results or not buttons:
        problems.append("no results field or no Berechnen button")
    else:
        computed = Events(results[0])
        buttons[0].queryAction().doAction(0)
        text = results[0].queryText()
        if computed.wait("object:text-changed:insert", 10) != 0:
            problems.append("computing was not announced as text inserted at 0")
        line, start, end = text.getTextAtOffset(7, pyatspi.TEXT_BOUNDARY_LINE_START)
        if line != "    0.0000\t   -5.0000\n" or start != 4:
            problems.append(f"second line reads {line!r} at {start}")
        if not results[0].getState().contains(pyatspi.STATE_MULTI_LINE):
            problems.append("results are not multi-line")
        check_announcements(results[0], problems)
    for problem in problems:
        print("atspi:", problem)
    print("atspi:", "tree as a screen reader needs it" if not problems else "problems found")
    return 1 if problems else 0


sys.exit(main())
