#!/usr/bin/env python3
"""Usage: tools/faults.py [--list] [ID | linux | windows ...]

What the tests catch: each fault of tools/faults.txt (all, or those named, or those of a suite named) is put
into the program on its own, the program built and its suite run (Linux; for a fault marked windows, the
Windows build under Wine), and the file restored, also on Ctrl-C. A fault whose snippet is not found exactly
once is reported, not run. Each suite runs without a fault before (it must pass) and after. --list only tells
which faults apply. A caught fault names the first test that failed."""
import os, re, signal, subprocess, sys, time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
NICE = ["nice", "-n", "10"]
BUILD = {"linux": ["cmake", "--build", "--preset", "default"], "windows": ["scripts/build-windows.sh"]}
# Not the layout check: it would "catch" any edit that changes a line's length. A fault is caught by one failing
# test, so a run stops at the first.
TESTS = {
    "linux": ["ctest", "--preset", "default", "-E", "^formatting$", "--stop-on-failure"],
    "windows": ["ctest", "--preset", "windows", "--stop-on-failure"],
}


def read_faults():
    faults = []
    for block in (ROOT / "tools/faults.txt").read_text().split("\n\n"):
        lines = [line for line in block.split("\n") if line and not line.startswith("#")]
        if lines:
            fault = dict(zip(["id", "suite", "path", "what"], lines[0].replace(":", "", 1).split(" ", 3)))
            fault["old"] = "\n".join(line[2:] for line in lines if line.startswith("-"))
            fault["new"] = "\n".join(line[2:] for line in lines if line.startswith("+"))
            faults.append(fault)
    return faults


def run_suite(suite, env, only=()):  # the tests that failed; None where the build fails
    build = subprocess.run(NICE + BUILD[suite], cwd=ROOT, env=env, capture_output=True)
    if build.returncode:
        return None
    command = NICE + TESTS[suite] + (["-R", "^(%s)$" % "|".join(only)] if only else [])
    output = subprocess.run(command, cwd=ROOT, env=env, capture_output=True, text=True).stdout
    return re.findall(r"^\s+\d+ - (\S+) \(", output.partition("The following tests FAILED:")[2], re.M)


def verdict(suite, env):
    failed = run_suite(suite, env)
    if failed is None:
        return "BUILD BREAK: caught by the build"
    if failed and all(name.startswith("e2e_") for name in failed):  # once more, to tell a flaky case
        again = run_suite(suite, env, only=failed)
        return "caught: " + " ".join(again) if again else "UNSURE, passed again: " + " ".join(failed)
    return "caught: " + " ".join(failed) if failed else "MISSED"


def main(args):
    listing, ids, faults = "--list" in args, [arg for arg in args if arg != "--list"], read_faults()
    unknown = set(ids) - {fault[key] for fault in faults for key in ("id", "suite")}
    if unknown:
        sys.exit("faults.py: no such fault or suite: " + " ".join(sorted(unknown)))
    faults = [fault for fault in faults if not ids or fault["id"] in ids or fault["suite"] in ids]
    if subprocess.run(["git", "diff", "--quiet", "--", "timetable", "ui", "app"], cwd=ROOT).returncode:
        sys.exit("faults.py: the program has uncommitted changes; commit or stash them first")
    for number in (signal.SIGTERM, signal.SIGHUP):  # the file is restored as on Ctrl-C
        signal.signal(number, lambda *_: sys.exit(1))
    env, suites = dict(os.environ), sorted({fault["suite"] for fault in faults})
    start, counts = time.monotonic(), {}
    if "windows" in suites and not listing:
        qt = subprocess.run(["scripts/windows-qt.sh"], cwd=ROOT, capture_output=True, text=True, check=True)
        env["QUORVANE_WINDOWS_QT"] = qt.stdout.strip()
    for suite in suites if not listing else []:
        failed = run_suite(suite, env)
        print("no fault, %s suite, before: failed %s" % (suite, failed), flush=True)
        if failed != []:
            sys.exit("faults.py: the %s suite fails without a fault: mend that first" % suite)
    for fault in faults:
        path = ROOT / fault["path"]
        text = path.read_text()
        if text.count(fault["old"]) != 1:
            result = "NOT APPLICABLE: the snippet is found %d times" % text.count(fault["old"])
        elif listing:
            result = "applies"
        else:
            try:
                path.write_text(text.replace(fault["old"], fault["new"]))
                result = verdict(fault["suite"], env)
            finally:
                path.write_text(text)
        counts[result.split(":")[0]] = counts.get(result.split(":")[0], 0) + 1
        print(
            "%-7s %-7s %-35s %-76s " % tuple(map(fault.get, ["id", "suite", "path", "what"])) + result,
            flush=True,
        )
    for suite in suites if not listing else []:  # also leaves the builds as the sources are
        print("no fault, %s suite, after: failed %s" % (suite, run_suite(suite, env)), flush=True)
    print("%d faults: %s; %.0f minutes" % (len(faults), counts, (time.monotonic() - start) / 60))


if __name__ == "__main__":
    main(sys.argv[1:])
