#!/usr/bin/python3
"""End-to-end checks of the real program on a real X server (Xvfb), with a
real window manager (openbox) where the case wants one, driven with xdotool
as a user would, and read back over the accessibility bus or from X itself.

Usage: desktop_test.py BINARY CASE. Every process a case starts is stopped
by its own process id before the case ends."""
import glob
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok:", message)


def wait_for(predicate, what, seconds=30.0):
    """Polls predicate until it returns something truthy (a liveness bound,
    not a speed check: the cases never assert how fast anything is)."""
    deadline = time.monotonic() + seconds
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("gave up waiting for " + what)
        time.sleep(0.1)


class Desktop:
    def __init__(self, size="1024x768", window_manager=True, accessibility=False, monitors=()):
        """monitors: xrandr --setmonitor arguments, one tuple a monitor, that
        split the X screen into monitors before anything else starts."""
        self.processes = []
        self.leftovers = []  # files the processes would remove at a normal exit
        self.env = dict(os.environ)
        for name in ("QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        self.runtime = tempfile.TemporaryDirectory(prefix="quorvane-e2e-")
        self.env["XDG_RUNTIME_DIR"] = self.runtime.name
        self.env["HOME"] = self.runtime.name
        self.env["LANG"] = "C.UTF-8"
        self.env["LC_ALL"] = "en_US.UTF-8" if self._has_locale("en_US.utf8") else "C.UTF-8"
        self.width, self.height = map(int, size.split("x"))
        self._start_xvfb(size)
        for monitor in monitors:
            self.xrandr("--setmonitor", *monitor)
        if window_manager:
            self._start_window_manager()
        # A session bus of the desktop's own, so that nothing autolaunches one
        # that would outlive the case.
        self._start_session_bus()
        if accessibility:
            self._start_accessibility_bus()

    @staticmethod
    def _has_locale(name):
        out = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout
        return name in out.split()

    def spawn(self, args, env=None, **kwargs):
        # Each in a process group of its own, so that stopping it by its id
        # also stops what it started (the accessibility bus's own daemons).
        process = subprocess.Popen(args, env=env or self.env, stdin=subprocess.DEVNULL,
                                   start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def _start_xvfb(self, size):
        read_end, write_end = os.pipe()
        # -noreset: the server would otherwise reset whenever its last client
        # leaves, under the feet of the next one to connect.
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", size + "x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + display

    def _start_window_manager(self):
        # Openbox announces itself before it manages new windows, and a window
        # mapped in between stays unmapped; its --startup command runs once
        # it is ready.
        ready = os.path.join(self.runtime.name, "window-manager-ready")
        self.spawn(["openbox", "--sm-disable", "--startup", "touch " + ready],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists(ready), "the window manager")

    def _start_session_bus(self):
        daemon = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = daemon.stdout.readline().strip()

    def _start_accessibility_bus(self):
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        # A first reading starts the accessibility registry, so the program
        # does not wait for it (its calls to the bus block until it answers).
        self.panel()

    def start_wayland_compositor(self):
        """Weston, headless, as the session's compositor beside the X server."""
        socket = "quorvane-wayland"
        self.spawn(["weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists(os.path.join(self.runtime.name, socket)), "the Wayland compositor")
        self.env["WAYLAND_DISPLAY"] = socket
        self.env["XDG_SESSION_TYPE"] = "wayland"

    def run(self, args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True).stdout

    def xrandr(self, *args):
        # Xvfb's one output cannot shrink below its mode; xrandr complains but
        # shrinks the screen all the same, so its status is not looked at.
        subprocess.run(["xrandr", *args], env=self.env, capture_output=True)

    def close(self):
        for process in reversed(self.processes):
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(process.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    process.wait(5)
                    break
                except subprocess.TimeoutExpired:
                    continue
        for path in self.leftovers:
            if os.path.exists(path):
                os.remove(path)
        self.runtime.cleanup()

    # -- the program ---------------------------------------------------------

    def start_program(self, binary, fake_time=None, scale=None):
        env = dict(self.env)
        if fake_time:
            # The clock starts at that moment and runs on. libfaketime keeps a
            # semaphore and shared memory named after the process id, which
            # close() removes, since a process stopped by a signal cannot.
            env["LD_PRELOAD"] = glob.glob("/usr/lib/*/faketime/libfaketime.so.1")[0]
            env["FAKETIME"] = "@" + fake_time
        if scale:
            env["QT_SCALE_FACTOR"] = str(scale)
        self.program_log = tempfile.TemporaryFile(mode="w+")
        program = self.spawn([binary], env=env, stdout=subprocess.DEVNULL, stderr=self.program_log)
        if fake_time:
            self.leftovers += ["/dev/shm/faketime_shm_%d" % program.pid, "/dev/shm/sem.faketime_sem_%d" % program.pid]
        try:
            wait_for(lambda: self.window("Quorvane"), "the Quorvane window")
        except Failure:
            self.program_log.seek(0)
            print("program exited with %s; its messages:\n%s" % (program.poll(), self.program_log.read()))
            print(self.run(["xdotool", "search", "--name", "Quorvane"]))
            print(self.run(["xwininfo", "-root", "-tree"]))
            raise
        return program

    def window(self, name, frame=False):
        """(x, y, width, height) of the mapped top-level window with this
        title (with the window manager's frame around it if asked), or None."""
        # Qt makes more than one window with the program's title; the panel is
        # the visible one.
        ids = self.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name]).split()
        if not ids:
            return None
        info = self.run(["xwininfo", "-id", ids[0]])
        if "Map State: IsViewable" not in info:
            return None
        field = lambda key: int(re.search(key + r":\s+(-?\d+)", info).group(1))
        x, y = field("Absolute upper-left X"), field("Absolute upper-left Y")
        w, h = field("Width"), field("Height")
        if frame:
            extents = self.run(["xprop", "-id", ids[0], "_NET_FRAME_EXTENTS"])
            numbers = [int(n) for n in re.findall(r"\d+", extents.split("=")[-1])] if "=" in extents else []
            left, right, top, bottom = numbers if len(numbers) == 4 else (0, 0, 0, 0)
            return x - left, y - top, w + left + right, h + top + bottom
        return x, y, w, h

    def window_property(self, name, prop):
        return self.run(["xprop", "-name", name, prop])

    def panel(self):
        out = subprocess.run(["/usr/bin/python3", os.path.join(HERE, "read_panel.py")],
                             env=self.env, capture_output=True, text=True).stdout
        try:
            return json.loads(out) if out.strip() else None
        except json.JSONDecodeError:
            return None

    # -- the user's hands ----------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)

    # (xdotool's --sync waits for the pointer to move, for ever when it is
    # already there; a short pause lets the program see the pointer instead.)
    def move(self, x, y):
        self.xdotool("mousemove", x, y)
        time.sleep(0.1)

    def click(self, x, y, button=1, repeat=1):
        self.move(x, y)
        self.xdotool("click", "--repeat", repeat, "--delay", 80, button)

    def drag(self, start, end, steps=10):
        """Presses at start and moves at once, before the program can have
        seen the press, as a quick hand does; then on to end and lets go."""
        self.move(*start)
        points = [(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
                  for i in range(1, steps + 1)]
        self.xdotool("mousedown", 1, "mousemove", *points[0])
        for point in points[1:]:
            self.move(*point)
        time.sleep(0.5)  # hold still a moment, as a hand does, before letting go
        self.xdotool("mouseup", 1)

    def key(self, keys):
        self.xdotool("key", keys)


# Places on the panel, in pixels from its top-left corner.
TITLE = (60, 8)
EXIT_LABEL = (196, 270)
ABOUT_LABEL = (196, 283)
OPTION_EASTERN = (40, 265)
OPTION_NON_EASTERN = (40, 282)


def at(window, offset):
    return window[0] + offset[0], window[1] + offset[1]


EASTERN = {
    (1, 1): ["4 . 54", "6 . 16", "12 . 09", "3 . 30", "6 . 00", "7 . 15"],
    (9, 1): ["4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 23"],
    (9, 2): ["4 . 41", "5 . 57", "12 . 06", "3 . 10", "6 . 12", "7 . 22"],
    (12, 21): ["4 . 50", "6 . 12", "12 . 04", "3 . 26", "5 . 55", "7 . 10"],
    (12, 22): ["4 . 50", "6 . 12", "12 . 05", "3 . 26", "5 . 56", "7 . 11"],
    (2, 29): ["5 . 03", "6 . 19", "12 . 19", "3 . 39", "6 . 17", "7 . 27"],
    (1, 31): ["5 . 05", "6 . 24", "12 . 19", "3 . 41", "6 . 13", "7 . 26"],
    (2, 1): ["5 . 05", "6 . 24", "12 . 20", "3 . 42", "6 . 14", "7 . 26"],
}
NON_EASTERN_JAN_1 = ["5 . 00", "6 . 22", "12 . 15", "3 . 36", "6 . 06", "7 . 21"]


def shows(desktop, date, times):
    def matches():
        state = desktop.panel()
        return state if state and state["date"] == date and state["times"] == times else None
    return matches


# -- the cases ----------------------------------------------------------------

def case_placement(binary):
    with_desktop = Desktop("1024x768")
    try:
        with_desktop.start_program(binary)
        check(with_desktop.window("Quorvane") == (810, 438, 208, 294),
              "208x294 at 810,438 on a 1024x768 screen: %s" % (with_desktop.window("Quorvane"),))
        state = with_desktop.window_property("Quorvane", "_NET_WM_STATE")
        check("_NET_WM_STATE_SKIP_TASKBAR" in state, "kept out of the taskbar: " + state.strip())
    finally:
        with_desktop.close()

    small = Desktop("800x600")
    try:
        small.start_program(binary)
        x, y, w, h = small.window("Quorvane")
        check(x >= 0 and y >= 0 and x + w <= 800 and y + h <= 600,
              "wholly inside an 800x600 screen: %s" % ((x, y, w, h),))
    finally:
        small.close()


def drag_case(binary, window_manager, scale=1):
    # Qt counts device-independent pixels; the X server, xdotool and these
    # checks count the screen's own.
    desktop = Desktop("%dx%d" % (1024 * scale, 768 * scale), window_manager=window_manager)
    try:
        desktop.start_program(binary, scale=scale)
        before = desktop.window("Quorvane")
        start = at(before, (TITLE[0] * scale, TITLE[1] * scale))
        desktop.drag(start, (start[0] - 300, start[1] - 200))
        wait_for(lambda: (w := desktop.window("Quorvane")) and w[:2] != before[:2], "the window to move")
        time.sleep(0.3)
        after = desktop.window("Quorvane")
        moved = (after[0] - before[0], after[1] - before[1])
        check(moved == (-300, -200),
              "at scale %s, dragging the title moves the window with the mouse: moved by %s" % (scale, moved))
    finally:
        desktop.close()


def case_drag_window_manager(binary):
    drag_case(binary, window_manager=True)
    drag_case(binary, window_manager=True, scale=2)


def case_drag_no_window_manager(binary):
    drag_case(binary, window_manager=False)


def exit_case(binary, about_open):
    desktop = Desktop()
    try:
        program = desktop.start_program(binary)
        panel = desktop.window("Quorvane")
        if about_open:
            desktop.click(*at(panel, ABOUT_LABEL))
            wait_for(lambda: desktop.window("About"), "the About window")
        desktop.click(*at(panel, EXIT_LABEL))
        time.sleep(1.5)
        check(program.poll() is None, "a single click on X leaves the program running")
        clicked = time.monotonic()
        desktop.click(*at(panel, EXIT_LABEL), repeat=2)
        status = program.wait(10)
        print("   ended %.2f s after the double-click" % (time.monotonic() - clicked))
        check(status == 0, "a double-click on X ends the program with status 0 (got %s)" % status)
        check(desktop.window("About") is None, "no About window is left behind")
    finally:
        desktop.close()


def case_unplugged(binary):
    """Two monitors side by side, the panel moved onto the second, then that
    monitor unplugged: the panel comes back to the first one's corner."""
    for window_manager in (True, False):
        desktop = Desktop("2048x768", window_manager=window_manager,
                          monitors=[("A", "1024/270x768/203+0+0", "screen"),
                                    ("B", "1024/270x768/203+1024+0", "none")])
        try:
            desktop.start_program(binary)
            panel = desktop.window("Quorvane")
            check(panel[:2] == (810, 438), "opens at 810,438 on the first of two monitors: %s" % (panel,))
            panel_id = desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^Quorvane$"]).split()[0]
            desktop.xdotool("windowmove", panel_id, 1510, 338)
            wait_for(lambda: desktop.window("Quorvane")[:2] == (1510, 338), "the panel on the second monitor")
            desktop.xrandr("--delmonitor", "B")
            desktop.xrandr("--fb", "1024x768")
            back = wait_for(lambda: (w := desktop.window("Quorvane")) and w[:2] == (816, 474) and w,
                            "the panel back within reach")
            check(back == (816, 474, 208, 294), "%s: with the second monitor gone, the panel stands in the "
                  "first one's bottom-right corner: %s" % ("openbox" if window_manager else "no window manager",
                                                          back))
        finally:
            desktop.close()


def case_wayland(binary):
    """A Wayland session with an X server beside it: the panel runs on X11,
    where its place and its keeping out of the taskbar hold."""
    desktop = Desktop(window_manager=False)
    try:
        desktop.start_wayland_compositor()
        desktop.start_program(binary)
        panel = desktop.window("Quorvane")
        check(panel == (810, 438, 208, 294), "in a Wayland session, mapped on the X server at 810,438: %s"
              % (panel,))
    finally:
        desktop.close()


def case_exit(binary):
    exit_case(binary, about_open=False)


def case_exit_with_about(binary):
    exit_case(binary, about_open=True)


# The cases that read the panel's texts need no window manager: what they
# check is the program's own.
def case_province(binary):
    desktop = Desktop(window_manager=False, accessibility=True)
    try:
        desktop.start_program(binary, fake_time="2027-01-01 09:00:00")
        panel = desktop.window("Quorvane")
        date = "Fri 01 Jan 2027"
        wait_for(shows(desktop, date, EASTERN[(1, 1)]), "Eastern times")
        desktop.click(*at(panel, (100, 120)))  # the user's keys go to the panel
        check(desktop.panel()["options"] == {"Eastern Province": True, "Non Eastern Province": False},
              "starts with Eastern Province selected")
        desktop.key("alt+n")
        wait_for(shows(desktop, date, NON_EASTERN_JAN_1), "Non Eastern times after Alt+N")
        check(desktop.panel()["options"]["Non Eastern Province"], "Alt+N selects Non Eastern Province")
        desktop.key("alt+e")
        wait_for(shows(desktop, date, EASTERN[(1, 1)]), "Eastern times after Alt+E")
        desktop.click(*at(panel, OPTION_NON_EASTERN))
        wait_for(shows(desktop, date, NON_EASTERN_JAN_1), "Non Eastern times after a click")
        desktop.click(*at(panel, OPTION_EASTERN))
        wait_for(shows(desktop, date, EASTERN[(1, 1)]), "Eastern times after a click")
        print("ok: Alt+N, Alt+E and clicks switch the province")
    finally:
        desktop.close()


def case_about(binary):
    desktop = Desktop()
    try:
        desktop.start_program(binary)
        panel = desktop.window("Quorvane")
        desktop.click(*at(panel, ABOUT_LABEL))
        about = wait_for(lambda: desktop.window("About"), "the About window")
        framed = desktop.window("About", frame=True)
        centre = (framed[0] + framed[2] // 2, framed[1] + framed[3] // 2)
        check(about[2:] == (174, 408) and abs(centre[0] - 512) <= 2 and abs(centre[1] - 384) <= 2,
              "\"?\" shows the About window, 174x408, centred with its frame: %s in %s"
              % (about, framed))
        ok_button = (about[0] + 84, about[1] + 388)
        desktop.click(*ok_button)
        wait_for(lambda: desktop.window("About") is None, "OK to hide the About window")
        print("ok: OK hides the About window")
        desktop.click(*at(panel, ABOUT_LABEL))
        wait_for(lambda: desktop.window("About"), "the About window again")
        desktop.click(*at(panel, (100, 120)))  # anywhere on the panel
        wait_for(lambda: desktop.window("About") is None, "a click on the panel to hide it")
        print("ok: a click on the main window hides the About window")
    finally:
        desktop.close()


def dates_case(binary, fake_time, date, times):
    desktop = Desktop(window_manager=False, accessibility=True)
    try:
        desktop.start_program(binary, fake_time=fake_time)
        wait_for(shows(desktop, date, times), "%s to show %s" % (date, times))
        print("ok: on %s the panel shows %s" % (date, ", ".join(times)))
    finally:
        desktop.close()


DATES = {
    "jan01": ("2027-01-01 10:00:00", "Fri 01 Jan 2027", EASTERN[(1, 1)]),
    "sep01": ("2027-09-01 10:00:00", "Wed 01 Sep 2027", EASTERN[(9, 1)]),
    "sep02": ("2027-09-02 10:00:00", "Thu 02 Sep 2027", EASTERN[(9, 2)]),
    "dec21": ("2027-12-21 10:00:00", "Tue 21 Dec 2027", EASTERN[(12, 21)]),
    "dec22": ("2027-12-22 10:00:00", "Wed 22 Dec 2027", EASTERN[(12, 22)]),
    "feb29": ("2028-02-29 10:00:00", "Tue 29 Feb 2028", EASTERN[(2, 29)]),
}


def case_dates(binary):
    for name in (sys.argv[3:] or DATES):
        dates_case(binary, *DATES[name])


def case_midnight(binary):
    desktop = Desktop(window_manager=False, accessibility=True)
    try:
        desktop.start_program(binary, fake_time="2027-01-31 23:59:56")
        wait_for(shows(desktop, "Sun 31 Jan 2027", EASTERN[(1, 31)]), "31 January")
        print("ok: before midnight, 31 January")
        wait_for(shows(desktop, "Mon 01 Feb 2027", EASTERN[(2, 1)]), "1 February", seconds=30)
        print("ok: after midnight the next tick shows 1 February")
    finally:
        desktop.close()


def main():
    binary, case = sys.argv[1], sys.argv[2]
    try:
        globals()["case_" + case](binary)
    except Failure as failure:
        print("FAIL:", failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
