#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command and measures the most memory it held, from outside: the high-water mark of its
# resident set in /proc, read every few milliseconds while it runs. The resource usage of a child
# would not do: it keeps the peak of the process that forked it, taken over at exec.
#   pegsolve-peak.py OUTPUT SECONDS COMMAND...
# writes the command's standard output and error into OUTPUT and prints "STATUS PEAK_KIB", the
# status being "timeout" when the command ran longer than SECONDS and had to be ended.
import os
import subprocess
import sys
import time


def high_water(pid, program):
    try:
        with open(f"/proc/{pid}/status") as status:
            fields = dict(line.split(":", 1) for line in status if ":" in line)
    except OSError:
        return 0
    # Before its exec the child is still a copy of this script.
    if fields.get("Name", "").strip() != program[:15]:
        return 0
    return int(fields.get("VmHWM", "0 kB").split()[0])


def main():
    output, seconds, command = sys.argv[1], float(sys.argv[2]), sys.argv[3:]
    program = os.path.basename(command[0])
    peak = 0
    with open(output, "w") as out:
        child = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT)
        started = time.monotonic()
        while True:
            peak = max(peak, high_water(child.pid, program))
            if child.poll() is not None:
                status = child.returncode
                break
            if time.monotonic() - started > seconds:
                child.kill()
                child.wait()
                status = "timeout"
                break
            time.sleep(0.005)
    print(status, peak)


main()
