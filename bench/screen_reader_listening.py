#!/usr/bin/python3
"""The largest table computed while a screen reader's client listens over
AT-SPI (make bench): the real program on its own display and accessibility
bus; Xa, Xsw and Xe typed through AT-SPI (0, 0.000001, 1: 1,000,001 rows),
"Berechnen" pressed through AT-SPI, timed until the results' text-changed
event is heard; then the program's resident memory, now and at its peak.

Usage: scripts/atspi-session PROGRAM bench/screen_reader_listening.py RUNS
"""
import statistics
import sys
import time

import pyatspi
from gi.repository import GLib


def find(node, role, name):
    if node.getRoleName() == role and node.name == name:
        return node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        found = find(child, role, name) if child is not None else None
        if found is not None:
            return found
    return None


def application(name):
    deadline = time.time() + 20
    while time.time() < deadline:
        for candidate in pyatspi.Registry.getDesktop(0):
            if candidate is not None and candidate.name == name:
                return candidate
        time.sleep(0.2)
    sys.exit(f"no application named {name}")


def memory(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return fields["VmRSS"], fields["VmHWM"]


def main():
    pid, runs = int(sys.argv[1]), int(sys.argv[2])
    program = application("wertomat")
    results = find(program, "text", "Ergebnisse")
    button = find(program, "push button", "Berechnen")
    heard = []

    def hear(event):
        if event.source == results and event.type == "object:text-changed:insert":
            heard.append(time.perf_counter())

    def drain(seconds):
        deadline = time.perf_counter() + seconds
        while time.perf_counter() < deadline:
            GLib.MainContext.default().iteration(False)

    # What a screen reader listens to in a text.
    pyatspi.Registry.registerEventListener(
        hear, "object:text-changed:insert", "object:text-caret-moved",
        "object:text-selection-changed")
    for name, value in (("Xa", "0"), ("Xsw", "0.000001"), ("Xe", "1")):
        find(program, "text", name).queryEditableText().setTextContents(value)
    seconds = []
    for _ in range(runs):
        drain(0.5)  # what the last run still sends
        heard.clear()
        start = time.perf_counter()
        button.queryAction().doAction(0)
        while not heard and time.perf_counter() - start < 10:
            GLib.MainContext.default().iteration(False)
        if not heard:
            sys.exit("no text-changed event within 10 s")
        seconds.append(heard[0] - start)
    length = results.queryText().characterCount
    resident, peak = memory(pid)
    print("Screen reader's client listening over AT-SPI, 1,000,001 rows "
          f"({length} characters):")
    print(f"  click to text-changed heard: median {statistics.median(seconds) * 1000:.1f} ms, "
          f"fastest {min(seconds) * 1000:.1f} ms, slowest {max(seconds) * 1000:.1f} ms "
          f"({runs} runs)")
    print(f"  resident {resident}, peak {peak}")


main()
