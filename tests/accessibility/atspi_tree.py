#!/usr/bin/python3
"""Reads the running Wertomat's accessible tree over AT-SPI, as a screen
reader would: named input fields, radio buttons, and a results table that
can be read line by line after "Berechnen" has been pressed through AT-SPI."""
import sys
import time

import pyatspi


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


def main():
    application = find_application(sys.argv[1])
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
        buttons[0].queryAction().doAction(0)
        text = results[0].queryText()
        deadline = time.time() + 10
        while text.characterCount == 0 and time.time() < deadline:
            time.sleep(0.2)
        line, start, end = text.getTextAtOffset(7, pyatspi.TEXT_BOUNDARY_LINE_START)
        if line != "    0.0000\t   -5.0000\r\n" or start != 5:
            problems.append(f"second line reads {line!r} at {start}")
        if not results[0].getState().contains(pyatspi.STATE_MULTI_LINE):
            problems.append("results are not multi-line")
    for problem in problems:
        print("atspi:", problem)
    print("atspi:", "tree as a screen reader needs it" if not problems else "problems found")
    return 1 if problems else 0


sys.exit(main())
