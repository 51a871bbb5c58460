#!/usr/bin/python3
"""The largest table pasted the way users paste it (make bench): 0, 0,000001,
1 computed in the real dialog (1,000,001 rows), Ctrl+A and Ctrl+C in the
results; then Ctrl+V into a new LibreOffice Calc sheet and a new Gnumeric
workbook, each in an English and a German locale. For each it prints the
seconds from Ctrl+V to the dialog the paste opens and to the end, the
spreadsheet's peak memory, and what the sheet holds. XA XSW XE choose
another table (the largest that is offered as HTML: 0 0,0001 6,5534).

Runs on an X display of its own, with Debian's python (for LibreOffice's uno):
    xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 \\
        bench/paste_the_largest_table.py PROGRAM WORK_DIR [XA XSW XE]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "spreadsheets"))
# pylint: disable=wrong-import-position
from spreadsheets_read_the_table import (Calc, clipboard, copy_from_the_dialog, focus, keys,
                                         start_gnumeric, until, visible_windows, window_name)

def peak_megabytes(pid):
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def calc_pastes(work_dir, place, rows):
    calc = Calc(work_dir, place)
    soffice = subprocess.run(["pgrep", "-f", f"soffice.bin.*{calc.pipe}"], capture_output=True,
                             text=True, check=False).stdout.split()
    try:
        document, _ = calc.new_sheet()
        known = visible_windows()
        began = time.perf_counter()
        keys("ctrl+v")
        dialog = until(lambda: sorted(visible_windows() - known), 600)
        asked = time.perf_counter() - began
        focus(dialog[0])
        keys("Return")
        answered = time.perf_counter()
        until(lambda: Calc.used_rows(document) >= rows or not visible_windows() - known, 600)
        done = time.perf_counter() - answered
        first = document.Sheets.getByIndex(0).getCellRangeByPosition(0, 0, 1, 2).getDataArray()
        print(f"Calc in {place}: import dialog after {asked:.1f} s, done {done:.1f} s after "
              f"Enter, {Calc.used_rows(document)} rows, peak {peak_megabytes(soffice[0]):.0f} MB, "
              f"first rows {first}")
        document.close(True)
    finally:
        calc.close()


def gnumeric_windows():
    """Gnumeric's windows, its untitled message boxes too."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "gnumeric"],
                           capture_output=True, text=True, check=False)
    return set(found.stdout.split())


def gnumeric_pastes(place):
    process, window = start_gnumeric(place)
    try:
        known = gnumeric_windows()
        began = time.perf_counter()
        keys("ctrl+Home", "ctrl+v")
        until(lambda: window_name(window).startswith("*") or gnumeric_windows() - known, 600)
        seconds = time.perf_counter() - began
        message = sorted(gnumeric_windows() - known)
        outcome = "pasted" if window_name(window).startswith("*") else "nothing pasted"
        print(f"Gnumeric in {place}: {outcome} after {seconds:.1f} s"
              f"{', with a message' if message else ''}, peak "
              f"{peak_megabytes(process.pid):.0f} MB")
    finally:
        process.kill()
        process.wait()


def main():
    program, work_dir, *table = sys.argv[1:]
    os.makedirs(work_dir, exist_ok=True)
    dialog, _ = copy_from_the_dialog([program], *(table or ["0", "0,000001", "1"]), function=0,
                                     seconds=3)
    rows = clipboard("UTF8_STRING").count(b"\n")
    print(f"{rows} lines copied, offered as {clipboard('TARGETS').split()[:3]}")
    try:
        for place in ["en_US.UTF-8", "de_DE.UTF-8"]:
            calc_pastes(work_dir, place, rows)
            gnumeric_pastes(place)
    finally:
        dialog.kill()


if __name__ == "__main__":
    main()
