#!/usr/bin/python3
"""The largest table copied out of the real program on an X display of its
own (make bench): 0, 0.000001, 1 typed and computed (1,000,001 rows), Ctrl+A
and Ctrl+C in the results; then another client (xclip) takes the text and
the table flavour (Gnumeric's, the only one offered for a table this
large) RUNS times each. Prints the program's memory
after the copy and at its peak after the readings, and the median time and
size of each reading.

Usage: xvfb-run -a python3 bench/copy_the_largest_table.py PROGRAM RUNS
"""
import statistics
import subprocess
import sys
import time


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "50", *names], check=True)


def memory(pid):
    fields = {}
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return fields["VmRSS"], fields["VmHWM"]


def reading(target):
    began = time.perf_counter()
    taken = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                           capture_output=True, check=True).stdout
    return time.perf_counter() - began, len(taken)


def main():
    program_path, runs = sys.argv[1], int(sys.argv[2])
    program = subprocess.Popen([program_path])
    for _ in range(100):
        if subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Wertomat$"],
                          capture_output=True, check=False).stdout:
            break
        time.sleep(0.2)
    time.sleep(1)
    keys("ctrl+a")
    subprocess.run(["xdotool", "type", "--", "0"], check=True)
    keys("Tab")
    subprocess.run(["xdotool", "type", "--", "0,000001"], check=True)
    keys("Tab")
    subprocess.run(["xdotool", "type", "--", "1"], check=True)
    keys("Tab", "Tab", "Tab", "space")  # the radio group, the results, Berechnen
    time.sleep(3)
    keys("shift+Tab", "ctrl+a", "ctrl+c")
    time.sleep(1)
    resident, peak = memory(program.pid)
    print(f"after Ctrl+C: resident {resident}, peak {peak}")
    for target in ["UTF8_STRING", "application/x-gnumeric"]:
        timed = [reading(target) for _ in range(runs)]
        print(f"{target}: median {statistics.median(t for t, _ in timed) * 1000:.0f} ms "
              f"for {timed[0][1]:,} bytes")
        resident, peak = memory(program.pid)
        print(f"after reading {target}: resident {resident}, peak {peak}")
    program.kill()


if __name__ == "__main__":
    main()
