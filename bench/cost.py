#!/usr/bin/python3
"""What Quorvane costs against its floors, on a private Xvfb (1024x768).

The floor is a window of the panel's size, flags and place that paints the panel's texts in its fonts with
QPainter (bench/painted_window). Beside it: the same window with one label (bench/one_label_window), bare
(bench/bare_window), and `xclock -digital -update 1`, a classic X program that also redraws once a second.
Each round starts every program once, in an order that rotates from round to round, with the same environment:
first unmeasured, so that the measured start finds its files in the page cache, then measured. Then one refresh
tick on the real window (bench/tick_bench). Prints a Markdown table: the medians, Quorvane's ratio of the medians
to the floor with the range of the per-round ratios, and PASS or MISS per target, decided on the ratio.

Usage: bench/cost.py [--rounds N] [--idle SECONDS]   (5 rounds, 60 s idle: about 30 minutes)
Installs what it needs, builds Release in build/bench and leaves the readings in build/bench/cost-*.json.
"""
import argparse
import json
import os
import select
import statistics
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(SOURCE, "build", "bench")
SETTLE = 3  # seconds from the start to the memory reading and the idle window
PROGRAMS = {
    "Quorvane": [BUILD + "/app/quorvane"],
    "painted": [BUILD + "/bench/painted_qt_window"],
    "one label": [BUILD + "/bench/one_label_qt_window"],
    "bare": [BUILD + "/bench/bare_qt_window"],
    "xclock": ["xclock", "-digital", "-update", "1"],
}


def prepare():
    """Installs what is missing and builds; says so on stderr, leaving stdout to the table."""
    run = lambda *command: subprocess.run(command, check=True, stdout=sys.stderr)
    run(SOURCE + "/scripts/setup.sh")
    run(SOURCE + "/scripts/install-packages.sh", "x11-apps", "python3-xcffib")
    options = ["-DCMAKE_BUILD_TYPE=Release", "-DQUORVANE_BUILD_TESTS=OFF", "-DQUORVANE_BUILD_BENCHMARKS=ON"]
    run("cmake", "-S", SOURCE, "-B", BUILD, "-G", "Ninja", *options)
    run("cmake", "--build", BUILD)
    # A stale system font cache makes every program that draws text rescan the font folders at its start.
    run(*([] if os.geteuid() == 0 else ["sudo"]), "fc-cache")


class Probe:
    """Times a program from its exec to the map of its window and to the first drawing on it (X DAMAGE)."""

    def __init__(self, display):
        import xcffib.damage
        import xcffib.xproto

        self.x, self.xproto, self.damage = xcffib, xcffib.xproto, xcffib.damage
        self.conn = xcffib.connect(display=display)
        self.root = self.conn.get_setup().roots[0].root
        self.conn(xcffib.damage.key).QueryVersion(1, 1).reply()
        mask = [xcffib.xproto.EventMask.SubstructureNotify]
        self.conn.core.ChangeWindowAttributes(self.root, xcffib.xproto.CW.EventMask, mask)
        self.conn.core.GetInputFocus().reply()  # a round trip: watching before any program starts

    def start(self, command, env, timeout=20):
        """Returns the process and its milliseconds to map and to first paint (None where it did not come)."""
        process = subprocess.Popen(command, env=env)  # returns once the program is exec'd
        start = time.monotonic()
        created, window, mapped = {}, None, None
        while time.monotonic() < start + timeout and process.poll() is None:
            try:
                event = self.conn.poll_for_event()
            except self.x.XcffibException:
                continue  # a window gone before its damage object was made
            if event is None:
                select.select([self.conn.get_file_descriptor()], [], [], 0.1)
                continue
            now = (time.monotonic() - start) * 1000
            if isinstance(event, self.xproto.CreateNotifyEvent) and event.parent == self.root:
                # Watched from its creation, before the program can map or draw on it.
                created[event.window] = event
                damage = self.conn(self.damage.key)
                damage.Create(self.conn.generate_id(), event.window, self.damage.ReportLevel.NonEmpty)
                self.conn.flush()
            elif isinstance(event, self.xproto.MapNotifyEvent) and window is None and event.window in created:
                new = created[event.window]  # Qt's tiny helper windows are never mapped
                if not new.override_redirect and new.width > 10 and new.height > 10:
                    window, mapped = event.window, now
            elif isinstance(event, self.damage.NotifyEvent) and event.drawable == window:
                return process, mapped, now
        return process, mapped, None


def per_thread(pid, name):
    texts = []
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/{name}") as file:
                texts.append(file.read())
        except FileNotFoundError:
            pass  # a thread that has just ended
    return texts


def cpu_and_wakeups(pid):
    """Nanoseconds on the CPU (schedstat) and wakeups over all threads. A thread that goes to sleep and is
    woken makes a voluntary context switch; the involuntary ones are other programs taking the CPU."""
    ns = sum(int(text.split()[0]) for text in per_thread(pid, "schedstat"))
    lines = (line for text in per_thread(pid, "status") for line in text.splitlines())
    return ns, sum(int(line.split()[1]) for line in lines if line.startswith("voluntary_ctxt_switches:"))


def memory(pid):
    """Pss and Rss in MiB. Pss shares a page among the processes that map it; Rss counts it whole."""
    with open(f"/proc/{pid}/smaps_rollup") as file:
        fields = dict(line.split()[:2] for line in file if line.endswith(" kB\n"))
    return int(fields["Pss:"]) / 1024, int(fields["Rss:"]) / 1024


def stop(process):
    process.kill()
    process.wait()


def measure(probe, command, env, idle):
    stop(probe.start(command, env)[0])
    start = time.monotonic()
    process, mapped, painted = probe.start(command, env)
    if painted is None:
        sys.exit("cost: %s did not paint within 20 s" % command[0])
    time.sleep(max(0, start + SETTLE - time.monotonic()))
    pss, rss = memory(process.pid)
    t0, (ns0, switches0) = time.monotonic(), cpu_and_wakeups(process.pid)
    time.sleep(idle)
    t1, (ns1, switches1) = time.monotonic(), cpu_and_wakeups(process.pid)
    stop(process)
    minute = 60 / (t1 - t0)
    cpu, wakeups = (ns1 - ns0) / 1e6 * minute, (switches1 - switches0) * minute
    return dict(paint=painted, map=mapped, pss=pss, rss=rss, cpu=cpu, wakeups=wakeups)


def ticks(repetitions, env):
    """Microseconds of one tick on each repetition, per case of tick_bench."""
    command = [
        BUILD + "/bench/tick_bench",
        "--benchmark_format=json",
        f"--benchmark_repetitions={repetitions}",
    ]
    env = dict(env, QT_QPA_PLATFORM="offscreen")
    output = subprocess.run(command, env=env, capture_output=True, text=True, check=True).stdout
    runs = [run for run in json.loads(output)["benchmarks"] if run["run_type"] == "iteration"]
    scale = {"ns": 1e-3, "us": 1, "ms": 1e3}
    return {
        case: [
            run["real_time"] * scale[run["time_unit"]] for run in runs if run["run_name"] == "BM_Tick/" + case
        ]
        for case in ("Steady", "DateChanges")
    }


def median(values):
    values = [value for value in values if value is not None]
    return statistics.median(values) if values else float("nan")


def table(readings, tick, rounds):
    """The Markdown table: medians, Quorvane's ratios to its floors, the targets and the verdicts."""
    names = list(PROGRAMS)
    rows = [
        ["median of %d" % rounds, *names, "Quorvane / floor (range of %d)" % rounds, "target", ""],
        ["---", *["---:"] * len(names), "---", "---:", "---"],
    ]

    def pick(key, *others):
        return {name: [reading[key] for reading in readings[name]] for name in ("Quorvane", *others)}

    def row(label, values, form, floor=None, limit=None, unit=""):
        """One measure: values per program; Quorvane's against the floor's, or its own range."""
        cells = [label, *(form % median(values[name]) if name in values else "" for name in names)]
        value = median(mine := values["Quorvane"])
        if floor:
            value /= median(values[floor])
            each = [a / b for a, b in zip(mine, values[floor]) if a is not None and b]
            cells.append("%.3f x %s (%.3f..%.3f)" % (value, floor, min(each), max(each)))
        else:
            each = mine
            cells.append("(%s..%s)" % (form % min(each), form % max(each)))
        if limit is not None:
            straddles = ", straddles" if min(each) <= limit < max(each) else ""
            cells += ["<= %s%s" % (limit, unit), ("PASS" if value <= limit else "MISS") + straddles]
        rows.append(cells + [""] * (len(rows[0]) - len(cells)))

    row("exec to first paint", pick("paint", *names[1:]), "%.1f ms", "painted", 1.05, " x")
    row("exec to window mapped", pick("map", *names[1:]), "%.1f ms", "painted")
    row("Pss at 3 s", pick("pss", *names[1:]), "%.2f MiB", "painted", 1.05, " x")
    row("Rss at 3 s", pick("rss", *names[1:]), "%.2f MiB", "painted")
    row("first paint, one label", pick("paint", "one label"), "%.1f ms", "one label")
    row("Pss, one label", pick("pss", "one label"), "%.2f MiB", "one label")
    row("idle CPU a minute", pick("cpu", *names[1:]), "%.2f ms", "xclock", 1.0, " x")
    row("wakeups a minute", pick("wakeups", *names[1:]), "%.1f", limit=60)
    row("tick, same date", {"Quorvane": tick["Steady"]}, "%.3f us", limit=1, unit=" us")
    row("tick, date changing", {"Quorvane": tick["DateChanges"]}, "%.3f us")
    return "\n".join("| " + " | ".join(cells) + " |" for cells in rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--idle", type=float, default=60, help="seconds of idle running measured")
    args = parser.parse_args()
    prepare()
    with tempfile.TemporaryDirectory(prefix="quorvane-cost.") as work:
        read, write = os.pipe()
        xvfb_command = ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"]
        xvfb = subprocess.Popen(xvfb_command, pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        display = ":" + os.read(read, 64).decode().strip()  # written once the server is ready
        os.makedirs(work + "/home")
        os.makedirs(work + "/runtime", mode=0o700)
        # The same for all: C.UTF-8, a private home and runtime folder, no session bus (so no accessibility bridge).
        env = dict(
            PATH="/usr/local/bin:/usr/bin:/bin", HOME=work + "/home", XDG_RUNTIME_DIR=work + "/runtime"
        )
        env.update(
            DISPLAY=display, LANG="C.UTF-8", TZ=os.environ.get("TZ", "Asia/Colombo"), QT_QPA_PLATFORM="xcb"
        )
        env.update(DBUS_SESSION_BUS_ADDRESS=f"unix:path={work}/no-bus", NO_AT_BRIDGE="1")
        try:
            probe, readings = Probe(display), {name: [] for name in PROGRAMS}
            for number in range(args.rounds):
                for i in range(len(PROGRAMS)):
                    name = list(PROGRAMS)[(number + i) % len(PROGRAMS)]
                    readings[name].append(measure(probe, PROGRAMS[name], env, args.idle))
                    shown = ", ".join("%s %.2f" % item for item in readings[name][-1].items() if item[1])
                    print("round %d, %s: %s" % (number + 1, name, shown), file=sys.stderr)
            tick = ticks(max(args.rounds, 3), env)
        finally:
            stop(xvfb)
    with open(BUILD + time.strftime("/cost-%Y%m%d-%H%M%S.json"), "w") as file:
        json.dump(dict(readings=readings, tick=tick), file, indent=1)
    print(table(readings, tick, args.rounds))


if __name__ == "__main__":
    main()
