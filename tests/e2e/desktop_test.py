#!/usr/bin/python3
"""Usage: desktop_test.py BINARY CASE. The program on real X servers (Xvfb), with and without a window
manager (openbox), driven with xdotool and read back from X or over the accessibility bus. Each process
a case starts has a process group of its own, stopped by its id when the case ends."""
import atexit, contextlib, glob, json, os, re, shutil, signal, subprocess, sys, tempfile, time


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def wait_for(predicate, what, seconds=30.0):  # a bound for liveness, not a speed check
    deadline = time.monotonic() + seconds
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(0.1)
    return value


class Desktop:
    def __init__(self, size="1024x768", window_manager=True, accessibility=False, monitors=()):
        self.processes, self.leftovers, self.runtime = [], [], tempfile.mkdtemp(prefix="quorvane-e2e-")
        atexit.register(self.close)  # however the case ends
        self.env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
        self.env.update(XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime, LC_ALL="C.UTF-8")
        # -noreset: else the server resets when its last client leaves, under the next one's feet.
        xvfb = self.spawn(
            ["Xvfb", "-displayfd", "1", "-screen", "0", size + "x24", "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.PIPE,
        )
        self.env["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
        for monitor in monitors:
            self.run("xrandr", "--setmonitor", *monitor)
        if window_manager:  # openbox runs its --startup command once it manages windows
            self.spawn(["openbox", "--sm-disable", "--startup", "touch %s/wm-ready" % self.runtime])
            wait_for(lambda: os.path.exists(self.runtime + "/wm-ready"), "the window manager")
        # A session bus of the desktop's own, so that none is autolaunched to outlive the case.
        bus = self.spawn(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE
        )
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        if accessibility:
            self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
            self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            self.labels()  # starts the registry, which the program would otherwise wait for

    def spawn(self, args, env=None, stdout=subprocess.DEVNULL):
        process = subprocess.Popen(
            args,
            env=env or self.env,
            stdin=subprocess.DEVNULL,
            stdout=stdout,
            stderr=subprocess.DEVNULL,
            start_new_session=True,
        )
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        subprocess.run(["rm", "-rf", self.runtime, *self.leftovers])

    def run(self, *args):  # xrandr --fb complains, yet shrinks the screen: no status is looked at
        return subprocess.run(args, env=self.env, capture_output=True, text=True).stdout

    def xdotool(self, *args, pause=0.1):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)
        time.sleep(pause)  # lets the program see it (--sync waits for ever on a pointer already there)

    def click(self, window, offset, repeat=1):
        self.xdotool("mousemove", window[0] + offset[0], window[1] + offset[1])
        self.xdotool("click", "--repeat", repeat, "--delay", 80, 1)

    def start_program(self, binary, fake_time=None, scale=None):
        env = dict(self.env, QT_SCALE_FACTOR=str(scale or 1))
        if fake_time:  # the clock starts there and runs on
            env.update(
                LD_PRELOAD=glob.glob("/usr/lib/*/faketime/libfaketime.so.1")[0], FAKETIME="@" + fake_time
            )
        program = self.spawn(
            [binary], env=env
        )  # libfaketime's, named after the process, left when it is killed:
        self.leftovers += [
            "/dev/shm/faketime_shm_%d" % program.pid,
            "/dev/shm/sem.faketime_sem_%d" % program.pid,
        ]
        wait_for(lambda: self.window("Quorvane"), "the Quorvane window")
        return program

    def window(self, name, frame=False):  # (x, y, width, height) of the mapped window of that title
        ids = self.run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % name).split()
        info = self.run("xwininfo", "-id", ids[0]) if ids else ""
        if "IsViewable" not in info:
            return None
        x, y, w, h = (
            int(re.search(key + r":\s+(-?\d+)", info).group(1))
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        )
        extents = re.findall(r"\d+", self.run("xprop", "-id", ids[0], "_NET_FRAME_EXTENTS").partition("=")[2])
        left, right, top, bottom = map(int, extents) if frame and extents else (0, 0, 0, 0)
        return x - left, y - top, w + left + right, h + top + bottom

    def labels(self):  # the texts of the program's labels, read over the accessibility bus
        script = (
            "import json, pyatspi\ndef walk(n):\n yield n\n for c in n:\n  yield from walk(c) if c is not None else ()\n"
            "print(json.dumps([n.name for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "
            "'Quorvane' for n in walk(a) if n.getRole() == pyatspi.ROLE_LABEL]))"
        )
        return json.loads(self.run("/usr/bin/python3", "-c", script) or "[]")


def case_panel(binary):
    """In a Wayland session (weston) beside the X server, the panel runs on X11:
    at 810,438, out of the taskbar. "?" shows the About window, a click on the
    panel hides it; a double-click on X ends the program."""
    desktop = Desktop()
    desktop.spawn(["weston", "--backend=headless-backend.so", "--socket=wayland-q", "--idle-time=0"])
    wait_for(lambda: os.path.exists(desktop.runtime + "/wayland-q"), "the Wayland compositor")
    desktop.env.update(WAYLAND_DISPLAY="wayland-q", XDG_SESSION_TYPE="wayland")
    program = desktop.start_program(binary)
    panel = desktop.window("Quorvane")
    check(panel == (810, 438, 208, 294), "on the X server, 208x294 at 810,438: %s" % (panel,))
    check("SKIP_TASKBAR" in desktop.run("xprop", "-name", "Quorvane", "_NET_WM_STATE"), "out of the taskbar")
    desktop.click(panel, (196, 283))
    about, framed = wait_for(lambda: desktop.window("About"), "the About window"), desktop.window(
        "About", True
    )
    check(
        about[2:] == (174, 408)
        and abs(framed[0] * 2 + framed[2] - 1024) <= 2
        and abs(framed[1] * 2 + framed[3] - 768) <= 2,
        "the About window, centred: %s" % (framed,),
    )
    desktop.click(panel, (100, 120))
    wait_for(lambda: desktop.window("About") is None, "a click on the panel to hide the About window")
    desktop.click(panel, (196, 283))
    wait_for(lambda: desktop.window("About"), '"?" to show it again')
    desktop.click(panel, (196, 270))
    time.sleep(1.5)
    check(program.poll() is None, "a click on the panel hides it; one click on X ends nothing")
    desktop.click(panel, (196, 270), repeat=2)
    check(program.wait(10) == 0 and desktop.window("About") is None, "a double-click ends it, About and all")


def case_drag(binary):
    """The pointer moves on at once after the press, before the program can have seen it."""
    for window_manager, scale in ((True, 1), (True, 2), (False, 1)):
        desktop = Desktop("%dx%d" % (1024 * scale, 768 * scale), window_manager)
        desktop.start_program(binary, scale=scale)
        before = desktop.window("Quorvane")
        x, y = before[0] + 60 * scale, before[1] + 8 * scale  # on the title
        desktop.xdotool("mousemove", x, y)
        desktop.xdotool("mousedown", 1, "mousemove", x - 30, y - 20)
        for step in range(2, 11):
            desktop.xdotool("mousemove", x - 30 * step, y - 20 * step)
        time.sleep(0.5)  # held still a moment, as a hand does, before letting go
        desktop.xdotool("mouseup", 1, pause=0.3)
        after = desktop.window("Quorvane")
        check(
            after[:2] == (before[0] - 300, before[1] - 200),
            "window manager %s, scale %d: followed the "
            "pointer by (-300, -200): %s to %s" % (window_manager, scale, before, after),
        )


def case_unplugged(binary):
    """Two monitors, the panel moved onto the second, that one unplugged."""
    for window_manager in (True, False):
        desktop = Desktop(
            "2048x768",
            window_manager,
            monitors=[("A", "1024/270x768/203+0+0", "screen"), ("B", "1024/270x768/203+1024+0", "none")],
        )
        desktop.start_program(binary)
        panel = desktop.run("xdotool", "search", "--onlyvisible", "--name", "^Quorvane$").split()[0]
        desktop.xdotool("windowmove", panel, 1510, 338)
        wait_for(lambda: desktop.window("Quorvane")[:2] == (1510, 338), "the panel on monitor B")
        desktop.run("xrandr", "--delmonitor", "B")
        desktop.run("xrandr", "--fb", "1024x768")
        wait_for(lambda: desktop.window("Quorvane") == (816, 474, 208, 294), "the panel back within reach")
        print("ok: window manager %s: back in the corner of the monitor left" % window_manager)


def case_midnight(binary):
    desktop = Desktop(window_manager=False, accessibility=True)
    desktop.start_program(binary, fake_time="2027-01-31 23:59:56")
    for date, times in (
        ("Sun 31 Jan 2027", ["5 . 05", "6 . 24", "12 . 19", "3 . 41", "6 . 13", "7 . 26"]),
        ("Mon 01 Feb 2027", ["5 . 05", "6 . 24", "12 . 20", "3 . 42", "6 . 14", "7 . 26"]),
    ):
        check(
            wait_for(lambda: set([date] + times) <= set(desktop.labels()), date),
            "shows %s, %s" % (date, times),
        )


def case_start_up_errors(binary):
    """A failed start says why in one line and exits with status 1. A copy of
    the program finds, through qt.conf, an X11 plugin lacking a library, and no
    Wayland plugin."""
    desktop = Desktop(window_manager=False)
    broken, plugin = desktop.runtime + "/quorvane", desktop.runtime + "/platforms/libqxcb.so"
    os.makedirs(os.path.dirname(plugin))
    shutil.copy(binary, broken)
    shutil.copy(glob.glob("/usr/lib/*/qt6/plugins/platforms/libqxcb.so")[0], plugin)
    subprocess.run(["patchelf", "--add-needed", "libquorvane-missing.so.0", plugin], check=True)
    with open(desktop.runtime + "/qt.conf", "w") as conf:
        conf.write("[Paths]\nPlugins=%s\n" % desktop.runtime)
    plugin_error = 'quorvane: Could not %s the Qt platform plugin "%s" in ""'
    for program, changes, expected in (
        (binary, {"DISPLAY": None}, "quorvane: no display could be opened: DISPLAY is not set"),
        (binary, {"DISPLAY": ":97"}, 'quorvane: no display could be opened: cannot connect to display ":97"'),
        (binary, {"QT_QPA_PLATFORM": "bogus"}, plugin_error % ("find", "bogus")),
        (broken, {"QT_QPA_PLATFORM": "wayland"}, plugin_error % ("find", "wayland")),
        (
            broken,
            {},
            plugin_error % ("load", "xcb") + " even though it was found: Cannot load library %s: ("
            "libquorvane-missing.so.0: cannot open shared object file: No such file or directory)" % plugin,
        ),
    ):
        env = {k: v for k, v in dict(desktop.env, **changes).items() if v is not None}
        result = subprocess.run([program], env=env, capture_output=True, text=True, stdin=subprocess.DEVNULL)
        check((result.returncode, result.stderr) == (1, expected + "\n"), "%s: %r" % (changes, result.stderr))


if __name__ == "__main__":
    try:
        globals()["case_" + sys.argv[2]](sys.argv[1])
    except AssertionError as failure:
        sys.exit("FAIL: %s" % failure)
