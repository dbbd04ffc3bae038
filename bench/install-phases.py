#!/usr/bin/env python3
"""Runs one setup and prints when its phases happened (python3 standard library).

    install-phases.py --trace FILE --drive-c DIR --target DIR --files N [--timeline S] -- COMMAND...

Starts COMMAND (setup.exe run with /LOG= naming FILE) and polls,
every few milliseconds, the trace (each new line is stamped with the time it
appeared), the working folder the trace names (files extracted into it, its
removal) and the installation folder (files installed). Prints one line per
event: seconds since launch, then what happened. Polling costs a little CPU,
so the total is slightly above an untraced run.
"""
import argparse
import os
import subprocess
import sys
import time

POLL = 0.005   # trace file
HERE = os.path.dirname(os.path.abspath(__file__))


def trace_name(constant):
    """The name of a trace line as setup.exe writes it (src/core/TraceNames.h)."""
    header = os.path.join(HERE, "..", "src", "core", "TraceNames.h")
    with open(header) as f:
        for line in f:
            if line.startswith("constexpr char %s[] = \"" % constant):
                return line.split('"')[1]
    raise SystemExit("no trace name " + constant)


WORKING_FOLDER = trace_name("kWorkingFolder")
SCAN = 0.05    # folders


def count_files(top):
    n = 0
    for _, _, files in os.walk(top):
        n += len(files)
    return n


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--trace", required=True)
    p.add_argument("--drive-c", required=True)
    p.add_argument("--target", required=True)
    p.add_argument("--files", type=int, required=True)
    p.add_argument("--timeline", type=float, default=0, help="also print the counts every so many seconds")
    p.add_argument("command", nargs="+")
    a = p.parse_args()

    events = []
    t0 = time.monotonic()

    def event(text):
        events.append((time.monotonic() - t0, text))

    proc = subprocess.Popen(a.command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    event("launched")
    seen_lines = 0
    work = None
    work_state = "absent"   # absent -> present -> complete -> removed
    extracted_first = target_first = target_done = False
    n_work = n_target = 0
    next_scan = next_sample = 0.0
    while True:
        rc = proc.poll()
        try:
            with open(a.trace, "rb") as f:
                lines = f.read().decode("latin-1").replace("\r", "").split("\n")[:-1]
        except FileNotFoundError:
            lines = []
        for line in lines[seen_lines:]:
            event("trace: " + line)
            if line.startswith(WORKING_FOLDER + "=") and work is None:
                win = line.split("=", 1)[1].rstrip("\\")
                work = os.path.join(a.drive_c, *win[3:].split("\\"))
        seen_lines = len(lines)
        now = time.monotonic() - t0
        # The folders are scanned less often than the trace is read: a scan of
        # 2 000 entries costs about a millisecond.
        if now >= next_scan or rc is not None:
            next_scan = now + SCAN
            if work:
                try:
                    n_work = sum(1 for _ in os.scandir(work))
                    if work_state == "absent":
                        work_state = "present"
                        event(f"working folder present ({n_work} entries)")
                    if n_work > 2 and not extracted_first:
                        extracted_first = True
                        event(f"first payload file extracted ({n_work} entries)")
                    if n_work >= a.files + 2 and work_state == "present":
                        work_state = "complete"
                        event(f"working folder holds all {a.files} payload files ({n_work} entries)")
                except FileNotFoundError:
                    if work_state not in ("absent", "removed"):
                        work_state = "removed"
                        event(f"working folder removed (last seen {n_work} entries)")
                        n_work = 0
            if os.path.isdir(a.target) and not target_done:
                n_target = count_files(a.target)
                if n_target and not target_first:
                    target_first = True
                    event(f"first file installed ({n_target})")
                if n_target >= a.files:
                    target_done = True
                    event(f"all {n_target} files installed")
        if a.timeline and now >= next_sample:
            next_sample = now + a.timeline
            event(f"sample: working folder {n_work} entries, installed {n_target} files")
        if rc is not None:
            event(f"exit code {rc}")
            break
        time.sleep(POLL)
    for t, text in events:
        print(f"{t:8.3f}  {text}")
    return 0 if rc == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
