#!/usr/bin/env python3
"""Runs a GoogleTest program to the end even if the process dies under it.

The 32-bit test program runs under user-mode emulation, where Wine now and then loses a
process to the emulator itself (a signal delivered with a broken thread context, an X
connection that loses its place). Such a death ends the program without gtest's summary.
This runner then starts the program again for the cases that have not run yet. The case
that was running when the process died runs once more; if it dies again, it counts as a
crash of our own and fails the run. A case that fails, or that the program's watchdog
ends as a hang, fails the run at once and is never retried.

    resume-run.py [--restarts N] -- COMMAND... PROGRAM.exe [GTEST ARGS...]
"""
import re
import subprocess
import sys

# A case's result; its name holds a dot (the summary's "0 tests, listed below" does not).
RESULT = re.compile(r"^\[\s+(OK|FAILED|SKIPPED)\s+\] ([^\s,.]+\.[^\s,]+)")
STARTED = re.compile(r"^\[ RUN\s+\] (\S+)")
TIMEOUT = re.compile(r"^\[\s+TIMEOUT\s+\] (\S+)")
SUMMARY = re.compile(r"^\[==========\] \d+ tests? from .* ran\.")


def run_once(command):
    """Runs the program, echoing its output; returns (exit code, finished, started, summary, timed out)."""
    finished, started, summary, timed_out = {}, None, False, False
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    for raw in process.stdout:
        line = raw.decode("utf-8", "replace").rstrip("\r\n")
        print(line, flush=True)
        if m := STARTED.match(line):
            started = m.group(1)
        elif m := RESULT.match(line):
            finished[m.group(2).rstrip(",")] = m.group(1)
            started = None
        elif TIMEOUT.match(line):
            timed_out = True
        elif SUMMARY.match(line):
            summary = True
    return process.wait(), finished, started, summary, timed_out


def with_filter(command, done):
    """The command with a gtest filter that leaves out the cases in `done`."""
    positive, rest = "*", []
    for arg in command:
        if arg.startswith("--gtest_filter="):
            positive = arg[len("--gtest_filter="):]
        else:
            rest.append(arg)
    if "-" in positive:
        positive, negative = positive.split("-", 1)
        excluded = negative.split(":") + sorted(done)
    else:
        excluded = sorted(done)
    return rest + ["--gtest_filter=%s-%s" % (positive or "*", ":".join(excluded))]


def main(argv):
    restarts = 4
    if argv[:1] == ["--restarts"]:
        restarts, argv = int(argv[1]), argv[2:]
    if argv[:1] == ["--"]:
        argv = argv[1:]
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2

    results, died_in = {}, set()
    command = argv
    for attempt in range(restarts + 1):
        code, finished, started, summary, timed_out = run_once(command)
        results.update(finished)
        if summary or timed_out or code == 0:
            break
        if started is None:
            print("resume-run: the program ended (code %d) outside any case" % code, flush=True)
            return 1
        if started in died_in:
            print("resume-run: %s ended the process twice: a crash, not the emulator" % started, flush=True)
            return 1
        died_in.add(started)
        print("\nresume-run: the process died (code %d) during %s; starting again for the cases not yet run"
              " (%d of %d restarts)" % (code, started, attempt + 1, restarts), flush=True)
        command = with_filter(argv, set(results))
    else:
        print("resume-run: the process kept dying; giving up", flush=True)
        return 1

    failed = sorted(name for name, result in results.items() if result == "FAILED")
    counts = {kind: sum(1 for r in results.values() if r == kind) for kind in ("OK", "SKIPPED", "FAILED")}
    print("resume-run: %d passed, %d skipped, %d failed; %d restart(s) after the process died in: %s"
          % (counts["OK"], counts["SKIPPED"], counts["FAILED"], len(died_in), ", ".join(sorted(died_in)) or "none"),
          flush=True)
    for name in failed:
        print("resume-run: FAILED %s" % name, flush=True)
    if timed_out or failed:
        return 1
    if code != 0 and summary:
        # Every case ran and none failed; the process was lost on its way out.
        print("resume-run: the program ended with code %d after its summary; no case failed" % code, flush=True)
        return 0
    return 1 if code != 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
