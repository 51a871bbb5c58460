#!/usr/bin/env python3
"""Whole-process figures of wertomat-table against the two plain ways of
printing the same table: wall time (median of RUNS starts, output read through
a pipe) and peak resident memory, side by side in one run.

Usage: bench/table_tools.py BUILD_DIR [RUNS]   (make bench runs it)
"""
import hashlib
import os
import resource
import statistics
import subprocess
import sys
import time

build = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
here = os.path.dirname(os.path.abspath(__file__))
programs = {
    "wertomat-table": [os.path.join(build, "tools", "wertomat-table")],
    "mawk one-liner": [os.path.join(here, "awk_table.sh")],
    "snprintf per row": [os.path.join(build, "bench", "snprintf_table")],
}
tables = {"1,000,001 rows": ["0", "0.000001", "1"], "21 rows": ["0", "0.1", "2"]}


BUFFER = bytearray(1 << 20)


def wall_seconds(command):
    """One start to exit, the output read through a pipe and dropped."""
    started = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE)
    # One reused buffer: the reader should cost as little as `cat > /dev/null`.
    while process.stdout.raw.readinto(BUFFER):
        pass
    process.wait()
    return time.perf_counter() - started


def peak_mebibytes(command):
    """Peak resident memory of the program alone, as GNU time reports it."""
    report = subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True).stderr
    return int(report.strip().splitlines()[-1]) / 1024


def digest(command):
    return hashlib.sha256(subprocess.run(command, capture_output=True).stdout).hexdigest()


for name, arguments in tables.items():
    print(f"\n{name} ({' '.join(arguments)}), medians of {runs} runs")
    print(f"{'program':<18} {'wall ms':>9} {'peak MiB':>9}  same bytes")
    results = {}
    for program, command in programs.items():
        results[program] = [digest(command + arguments), peak_mebibytes(command + arguments), []]
    # Interleaved, so that a busy moment of the machine hits every program alike.
    for _ in range(runs):
        for program, command in programs.items():
            results[program][2].append(wall_seconds(command + arguments))
    reference = statistics.median(results["wertomat-table"][2])
    for program, (hash_, peak, walls) in results.items():
        same = "yes" if hash_ == results["wertomat-table"][0] else "NO"
        print(f"{program:<18} {statistics.median(walls) * 1000:>9.1f} {peak:>9.1f}  {same}")
    for program in list(programs)[1:]:
        ratio = statistics.median(results[program][2]) / reference
        print(f"wertomat-table is {ratio:.2f} x as fast as {program}")
