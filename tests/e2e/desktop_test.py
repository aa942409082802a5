#!/usr/bin/python3
"""Usage: desktop_test.py BINARY CASE | --wine PROGRAM.exe ARGS (CTest's Windows emulator): the program on
Xvfb, with and without openbox, driven by xdotool, and under Wine; a case's process groups end with it."""
import atexit, contextlib, datetime, glob, hashlib, os, re, shutil, signal, subprocess, sys, tempfile, time, zipfile
from pathlib import Path
from subprocess import DEVNULL, PIPE


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def wait_for(predicate, what, seconds=30.0, seen=str):  # a bound for liveness, not a speed check
    deadline = time.monotonic() + seconds
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for %s %s" % (what, seen()))
        time.sleep(0.1)
    return value


class Desktop:
    def __init__(self, size="1024x768", window_manager=True, monitors=()):
        self.processes, self.runtime = [], tempfile.mkdtemp(prefix="quorvane-e2e-")
        atexit.register(self.close)  # however the case ends
        self.env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
        self.env.update(XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime, LC_ALL="C.UTF-8")
        # -noreset: else the server resets when its last client leaves, under the next one's feet.
        xvfb = ["Xvfb", "-displayfd", "1", "-screen", "0", size + "x24", "-nolisten", "tcp", "-noreset"]
        self.env["DISPLAY"] = ":" + self.spawn(xvfb, stdout=PIPE).stdout.readline().decode().strip()
        for monitor in monitors:
            self.run("xrandr", "--setmonitor", *monitor)
        if window_manager:  # openbox runs its --startup command once it manages windows
            self.spawn(["openbox", "--sm-disable", "--startup", "touch %s/wm-ready" % self.runtime])
            wait_for(lambda: os.path.exists(self.runtime + "/wm-ready"), "the window manager")
        # A session bus of the desktop's own, so that none is autolaunched to outlive the case.
        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()

    def spawn(self, args, env=None, stdout=DEVNULL):
        own = dict(stdin=DEVNULL, stderr=DEVNULL, start_new_session=True)  # a process group of its own
        self.processes.append(subprocess.Popen(args, env=env or self.env, stdout=stdout, **own))
        return self.processes[-1]

    def close(self):
        for process in reversed(self.processes):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        subprocess.run(["rm", "-rf", self.runtime])

    def run(self, *args):  # xrandr --fb complains, yet shrinks the screen: no status is looked at
        return subprocess.run(args, env=self.env, capture_output=True, text=True).stdout

    def xdotool(self, *args, pause=0.1):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)
        time.sleep(pause)  # lets the program see it (--sync waits for ever on a pointer already there)

    def click(self, window, offset, repeat=1):
        self.xdotool("mousemove", window[0] + offset[0], window[1] + offset[1])
        self.xdotool("click", "--repeat", repeat, "--delay", 80, 1)

    def start_program(self, *command, scale=1, clock=None):  # the program and its window; libfaketime's clock
        env = dict(self.env, QT_SCALE_FACTOR=str(scale))
        if clock:
            env.update(clock, LD_PRELOAD=glob.glob("/usr/lib/*/faketime/libfaketime.so.1")[0])
        program = self.spawn(command, env=env)
        if clock:  # libfaketime's files, left behind if the program is killed
            atexit.register(subprocess.run, "rm -f /dev/shm/*faketime_*_%d" % program.pid, shell=True)
        return program, wait_for(lambda: self.window("Quorvane"), "the Quorvane window")

    def quick_drag(self, by, scale=1, button=1):  # by the title, the pointer moving on at once, and on after
        before = self.window("Quorvane")  # the release (the move must have ended there); the move and window
        x, y = before[0] + int(60 * scale), before[1] + int(8 * scale)
        self.xdotool("mousemove", x, y)
        self.xdotool("mousedown", button, "mousemove", x + by[0] // 10, y + by[1] // 10)
        for step in range(2, 11):
            self.xdotool("mousemove", x + by[0] * step // 10, y + by[1] * step // 10)
        time.sleep(0.5)  # held still a moment, as a hand does, before letting go
        self.xdotool("mouseup", button, "mousemove", x + by[0] + 30, y + by[1] + 30, pause=0.3)
        after = self.window("Quorvane")
        return (after[0] - before[0], after[1] - before[1]), after

    def quick_clicks(self, panel, scale=1, stopped=None):
        """On the title with each button, the pointer moved on after each; a process given is stopped for each
        click (its press and release then reach it together), then given time to start a move."""
        x, y, moved = panel[0] + int(60 * scale), panel[1] + int(8 * scale), []
        for button in [1, 3, 2] * 7:
            click = ["mousemove", x, y, "click", button]
            if stopped:
                os.kill(stopped.pid, signal.SIGSTOP)
                self.xdotool(*click)
                os.kill(stopped.pid, signal.SIGCONT)
                click = ["sleep", 0.5]
            self.xdotool(*click, "mousemove", x + 90, y + 70, pause=0.3)
            moved += [button] if self.window("Quorvane") != panel else []
        check(not moved, "21 quick clicks on the title; the panel moved after those of buttons %s" % moved)

    def off_the_second_monitor(self, by, first, scale=1, display_change=None, button=1):  # where it ends
        """Dragged quickly onto monitor B, then B unplugged (the screen shrunk to first): in A's corner."""
        moved, panel = self.quick_drag(by, scale, button)
        check(moved == by, "scale %s, a quick drag (button %d) to monitor B: %s" % (scale, button, panel))
        self.run("xrandr", "--delmonitor", "B")
        self.run("xrandr", "--fb", "%dx%d" % first)
        if display_change:  # under Wine, once openbox has pulled the panel partly onto the smaller screen:
            # Windows tells every window when a monitor goes (WM_DISPLAYCHANGE); Wine 8 does not when the X
            # server's monitors change, but does when a program applies the display settings afresh.
            wait_for(lambda: self.window("Quorvane") != panel, "openbox to pull the panel in")
            self.run("wine", display_change)
        corner = (first[0] - panel[2], first[1] - panel[3], *panel[2:])
        wait_for(lambda: self.window("Quorvane") == corner, "the panel in the corner of the first monitor")
        print("ok: scale %s, back in the corner of the first monitor" % scale)
        return corner

    def second_start(self, command, panel, over=None):
        """Started again with another window (over, or an xmessage) over the panel, in Non Eastern: the new
        process ends at once with status 0 and maps no window; the panel comes back on top, as it was."""
        x, y, width, height = panel
        self.click(panel, (60 * width // 208, 283 * height // 294))  # Non Eastern Province
        area = (x, y, width, height * 257 // 294)  # the date line and the times
        shown = self.settled(area, "the panel as it stands")
        maps = open(self.runtime + "/maps", "w+")  # the windows mapped, as the X server tells
        self.spawn(["xev", "-root", "-event", "substructure", "-event", "property"], stdout=maps)
        heard = lambda: self.run("xprop", "-root", "-f", "Q", "8s", "-set", "Q", "") or open(maps.name).read()
        wait_for(heard, "xev to listen")  # to a root window property it changes
        geometry = "%dx%d+%d+%d" % (width + 40, height + 40, x - 20, y - 20)
        self.spawn(over or ["xmessage", "-geometry", geometry, "another window"])
        count = lambda: open(maps.name).read().count("MapNotify")
        wait_for(lambda: count() and self.picture(area) != shown, "another window over the panel")
        mapped, second = count(), self.spawn(command)
        check(second.wait(30) == 0, "a second start ends with status 0")
        wait_for(lambda: self.picture(area) == shown, "the panel back on top, as it was")
        now = (count(), self.window("Quorvane"))
        check(now == (mapped, panel), "no window mapped, the panel where it was: %s" % (now,))

    def centred_about(self, w=1024, h=768):  # where the About window is once centred on monitor A (w by h)
        shown = lambda: self.window("About", frame=True)  # the program centres it again once it is framed
        centred = lambda: (a := shown()) and max(abs(2 * a[0] + a[2] - w), abs(2 * a[1] + a[3] - h)) <= 2
        check(wait_for(centred, "the About window centred:", seen=shown), "the About window centred")
        return self.window("About")

    def picture(self, area):  # the screen's pixels in (x, y, width, height)
        crop = "%dx%d+%d+%d" % (*area[2:], *area[:2])
        grab = ["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"]
        return subprocess.run(grab, env=self.env, capture_output=True).stdout

    def settled(self, area, what):  # its picture once the same over more than a tick
        picture = lambda: self.picture(area)
        return wait_for(lambda: (p := picture()) == (time.sleep(1.5) or picture()) and p, what)

    def wait_out_of_taskbar(self, name="Quorvane"):  # under Wine, the state may come after the mapping
        state = lambda: "SKIP_TASKBAR" in self.run("xprop", "-name", name, "_NET_WM_STATE")
        check(wait_for(state, name + " out of the taskbar"), name + " out of the taskbar")

    def window(self, name, frame=False):  # (x, y, width, height) of the mapped window of that title
        ids = self.run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % name).split()
        info = self.run("xwininfo", "-id", ids[0]) if ids else ""
        if "IsViewable" not in info:
            return None
        x, y, w, h = map(int, re.findall(r"(?:Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", info))
        extents = re.findall(r"\d+", self.run("xprop", "-id", ids[0], "_NET_FRAME_EXTENTS").partition("=")[2])
        left, right, top, bottom = map(int, extents) if frame and extents else (0, 0, 0, 0)
        return x - left, y - top, w + left + right, h + top + bottom


def case_drag(binary):
    """Quick clicks on the title with each button move nothing; "?" brings back an About window minimized by
    the window manager; a quick drag onto monitor B, then unplugged: the panel comes back within reach."""
    for window_manager, scale, button, width in ((True, 1, 1, 1024), (True, 2, 3, 2048), (False, 1, 2, 800)):
        height = width * 3 // 4
        print("window manager %s, scale %d, %dx%d:" % (window_manager, scale, width, height))
        mm = "%d/%dx%d/%d" % (width, width * 254 // 960, height, height * 254 // 960)  # 96 dpi
        monitors = [("A", mm + "+0+0", "screen"), ("B", mm + "+%d+0" % width, "none")]
        desktop = Desktop("%dx%d" % (2 * width, height), window_manager, monitors)
        _, panel = desktop.start_program(binary, scale=scale)
        # The designed place, 810,438 at scale 1, is wholly on A but on the 800x600 one.
        place = (810 * scale, 438 * scale) if width >= 1024 * scale else (width - 208, height - 294)
        check(panel == (*place, 208 * scale, 294 * scale), "%d,%d %dx%d" % panel)
        desktop.second_start([binary], panel)
        desktop.quick_clicks(panel, scale)
        question = (196 * scale, 283 * scale)
        desktop.click(panel, question)
        about = desktop.centred_about(width, height)
        for _ in range(3 if window_manager else 0):  # unmended, back one time in two (with AT-SPI on, always)
            desktop.xdotool("search", "--onlyvisible", "--name", "^About$", "windowminimize")  # as keys do
            wait_for(lambda: desktop.window("About") is None, "the About window minimized")
            desktop.click(panel, question)
            wait_for(lambda: desktop.window("About") == about, '"?" to bring the minimized About window back')
            desktop.wait_out_of_taskbar("About")
        desktop.off_the_second_monitor((300, -200), (width, height), scale, button=button)
        supported = desktop.run("xprop", "-root", "_NET_SUPPORTED")  # read by the drag, left as it was
        check(not window_manager or "_NET_WM_MOVERESIZE" in supported, "the window manager's properties kept")
    # Monitors of different scales (as KDE on X11 sets them), then A's scale changed (Xft/DPI over XSETTINGS):
    # the panel whole at each, drawn as if started at it (its Hindi date line refitted: a pixel lower at 2).
    for window_manager in (True, False):
        print("window manager %s, monitor B at scale 2, then A too:" % window_manager)
        mm, clock = "1024/270x768/203", {"FAKETIME": "@2027-01-01 10:00:00"}
        monitors = [("A", mm + "+0+0", "screen"), ("B", mm + "+1024+0", "none")]
        desktop = Desktop("2048x768", window_manager, monitors)
        settings = desktop.runtime + "/xsettings"
        dpi = lambda dots: desktop.run("sh", "-c", "echo Xft/DPI %d > %s" % (dots * 1024, settings))
        dpi(96)
        xsettingsd = desktop.spawn(["sh", "-c", "exec xsettingsd -c %s 2>&1" % settings], stdout=PIPE)
        next(line for line in xsettingsd.stdout if b"Took ownership" in line)  # before the program looks
        desktop.env.update(QT_SCREEN_SCALE_FACTORS="B=2", LC_ALL="hi_IN.UTF-8")

        def whole(size, where):  # where the panel stands once it has that size
            shown = lambda: desktop.window("Quorvane")
            panel = wait_for(lambda: (p := shown())[2:] == size and p, where + " %dx%d:" % size, seen=shown)
            desktop.xdotool("mousemove", 0, 0)  # off the panel: nothing hovered, no tool tip
            return panel

        def as_on_b(where):
            panel, what = whole((416, 588), where), where + ", drawn as on B"
            check(wait_for(lambda: desktop.picture(panel) == on_b, what), what)

        program, _ = desktop.start_program(binary, clock=clock)
        desktop.quick_drag((700, -400))
        on_b = desktop.settled(whole((416, 588), "dragged onto B"), "B drawn")
        desktop.quick_drag((-700, 400), 2)
        whole((208, 294), "dragged back onto A")
        dpi(192)
        xsettingsd.send_signal(signal.SIGHUP)
        as_on_b("at 2 on A")
        os.killpg(program.pid, signal.SIGKILL)
        desktop.start_program(binary, clock=clock)
        as_on_b("started at 2")


def case_start_up_errors(binary):
    """A failed start says why in one line and exits with status 1. A copy of the program finds,
    through qt.conf, an X11 plugin lacking a library, and no Wayland plugin."""
    desktop = Desktop(window_manager=False)
    broken, plugin = desktop.runtime + "/quorvane", desktop.runtime + "/platforms/libqxcb.so"
    os.makedirs(os.path.dirname(plugin))
    shutil.copy(binary, broken)
    shutil.copy(glob.glob("/usr/lib/*/qt6/plugins/platforms/libqxcb.so")[0], plugin)
    subprocess.run(["patchelf", "--add-needed", "libquorvane-missing.so.0", plugin], check=True)
    Path(desktop.runtime + "/qt.conf").write_text("[Paths]\nPlugins=%s\n" % desktop.runtime)
    found = 'Could not load the Qt platform plugin "xcb" in "" even though it was found: Cannot load library'
    lacking = "libquorvane-missing.so.0: cannot open shared object file: No such file or directory"
    for program, changes, expected in (
        (binary, {"DISPLAY": None}, "no display could be opened: DISPLAY is not set"),
        (binary, {"DISPLAY": ":97"}, 'no display could be opened: cannot connect to display ":97"'),
        (broken, {"QT_QPA_PLATFORM": "wayland"}, 'Could not find the Qt platform plugin "wayland" in ""'),
        (broken, {}, "%s %s: (%s)" % (found, plugin, lacking)),
    ):
        env = {k: v for k, v in dict(desktop.env, **changes).items() if v is not None}
        result = subprocess.run([program], env=env, capture_output=True, text=True, stdin=DEVNULL)
        check((result.returncode, result.stderr) == (1, "quorvane: " + expected + "\n"), repr(result.stderr))


# The panel as a screen reader meets it on 1 January 2027: role: name (description), indented by depth.
PANEL = """frame: Quorvane
 label: QUORVANE
 label: Fri 01 Jan 2027
 panel
  label: Fajr (Subah), {}
  label: Sun Rise, {}
  label: Luhar, {}
  label: Asar, {}
  label: Magrib, {}
  label: Isha, {}
 radio button: Eastern Province
 radio button: Non Eastern Province
 label: Exit (Double Click to Exit)
 label: About (About)"""
EASTERN, NON_EASTERN = "4:54 6:16 12:09 3:30 6:00 7:15".split(), "5:00 6:22 12:15 3:36 6:06 7:21".split()
# The About window, the same way: its credits box holds the view of the text (and hidden scroll bars).
ABOUT = """dialog: About
 label: "Alhamdulillah"
 push button: OK
 text: Credits
  filler"""
# The credits' 26 lines, each ended by a line break: the literal ones, and the form of the others.
CREDITS = r"""Programmed and Published by
.+ \| \S+
(https?://\S+
){3}.+
https?://\S+

Special thanks to
.+\.

Thanks to beta testers\.

Downloaded From[ ]
https?://\S+

.+
.*https?://\S+.*
.+

Corrections/Suggestions
\S+@\S+\.\S+

\d\d\.\d\d\.\d{4} v\.1\.0

\d\d\.\d\d\.\d{4} v\.2\.0
"""


def case_panel(binary):
    """In a Wayland session (weston), the panel on X11 at 810,438, out of the taskbar, read over AT-SPI as
    Orca reads it on 1 January 2027: each node at the index its parent lists it under, the times as times, a
    province switch heard as the six new names and nothing after. "?" and "X" pressed through their actions;
    the About window centred, its credits as designed; one click on X hides it (the panel is activated)."""
    desktop = Desktop()
    desktop.spawn(["weston", "--backend=headless-backend.so", "--socket=wayland-q", "--idle-time=0"])
    wait_for(lambda: os.path.exists(desktop.runtime + "/wayland-q"), "the Wayland compositor")
    desktop.env.update(WAYLAND_DISPLAY="wayland-q", XDG_SESSION_TYPE="wayland")
    os.environ.update(desktop.env)  # the accessibility bus, started through the desktop's session bus
    import pyatspi
    from gi.repository import GLib

    heard = []  # name changes, in order
    pyatspi.Registry.registerEventListener(heard.append, "object:property-change:accessible-name")

    def listen(seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            GLib.MainContext.default().iteration(False) or time.sleep(0.05)

    def read(node, listed=0, depth=0):  # what shows; marked where node and parent disagree on its index
        at = node.getIndexInParent()
        astray = "" if at == listed and node.parent[at] == node else " <index %d, listed %d>" % (at, listed)
        named = ": ".join(filter(None, (node.getRoleName(), node.name)))
        description = " (%s)" % node.description if node.description else ""
        if astray or node.getState().contains(pyatspi.STATE_SHOWING):
            yield " " * depth + named + description + astray
        for index, child in enumerate(node):
            yield from read(child, index, depth + 1)

    clock = {"FAKETIME": "@2027-01-01 08:00:00"}
    program, panel = desktop.start_program("env", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1", binary, clock=clock)
    check(panel == (810, 438, 208, 294), "on the X server, 208x294 at 810,438: %s" % (panel,))
    desktop.wait_out_of_taskbar()
    apps = pyatspi.Registry.getDesktop(0)
    window = wait_for(lambda: [app[0] for app in apps if app and app.name == "Quorvane"], "the program")[0]
    wait_for(lambda: "," in window[2][0].name, "the first tick")
    check("\n".join(read(window)) == PANEL.format(*EASTERN), "read:\n" + "\n".join(read(window)))
    listen(0.5)  # the first tick's
    heard.clear()
    window[4].queryAction().doAction(0)  # Non Eastern Province
    names = lambda: [event.source.name for event in heard]
    wait_for(lambda: listen(0.1) or len(names()) >= 6, "six new names")
    listen(2.5)  # steady ticks after it: nothing more
    new = [line.split(": ")[1] for line in PANEL.format(*NON_EASTERN).split("\n")[4:10]]
    check(names() == new, "the switch, heard as the six new names and nothing else: %s" % names())
    desktop.second_start([binary], panel)
    check("\n".join(read(window)) == PANEL.format(*NON_EASTERN), "read again:\n" + "\n".join(read(window)))

    window[6].queryAction().doAction(0)  # "?", pressed by a screen reader
    about = wait_for(lambda: window.parent.childCount == 2 and window.parent[1], "the About window")
    check("\n".join(read(about, 1)) == ABOUT, "the About window read:\n" + "\n".join(read(about, 1)))
    credits = about[2].queryText().getText(0, -1)
    check(re.fullmatch(CREDITS, credits), "the credits, as designed: %r" % credits)
    desktop.centred_about()
    desktop.wait_out_of_taskbar("About")
    desktop.click(panel, (196, 270))
    wait_for(lambda: desktop.window("About") is None, "a click on the panel to hide the About window")
    time.sleep(1.5)
    check(program.poll() is None, "one click on X ends nothing")
    desktop.click(panel, (196, 283))
    wait_for(lambda: desktop.window("About"), '"?" clicked to show the About window')
    window[5].queryAction().doAction(0)  # "X", pressed by a screen reader
    check(program.wait(10) == 0, "X pressed by a screen reader ends it")


SOURCE = os.path.dirname(os.path.abspath(__file__)) + "/../.."
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"
START_MENU = "roaming/microsoft/windows/start menu/programs/"
INSTALLED = ["local/programs/quorvane" + n for n in ("", "/license.txt", "/quorvane.exe", "/uninstall.exe")]
INSTALLED += [START_MENU + "quorvane.lnk", START_MENU + "startup/quorvane.lnk", "registry"]
FONTS = ("Microsoft Sans Serif", "Arial")


def wine_desktop(window_manager, size="1024x768", monitors=()):
    """A new Wine prefix, with stand-ins for fonts, at 96 dpi, in US English; or as QUORVANE_WINE_FONTS=none,
    QUORVANE_WINE_DPI (144: 150%) and QUORVANE_WINE_LOCALE (si_LK...) say."""
    desktop = Desktop(size, window_manager, monitors)
    # Qt Test writes to the debugger unless told to use the standard streams, and Wine hands QT_
    # variables to Windows programs only as WINEQT_. No Mono, Gecko or host menu entries.
    desktop.env.update(WINEPREFIX=desktop.runtime + "/prefix", WINEQT_FORCE_STDERR_LOGGING="1")
    locale = os.environ.get("QUORVANE_WINE_LOCALE", "en_US")  # Wine's user locale is LC_ALL's
    desktop.env.update(WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d", WINEDEBUG="-all")
    desktop.env["LC_ALL"] = locale + ".UTF-8"
    wine(desktop, "wineboot", "-i")
    values = [(r"Control Panel\Desktop", "LogPixels", "REG_DWORD", os.environ.get("QUORVANE_WINE_DPI", "96"))]
    if os.environ.get("QUORVANE_WINE_FONTS") != "none":  # which every Windows has and Wine lacks
        values += [(r"Software\Wine\Fonts\Replacements", font, "REG_SZ", "Liberation Sans") for font in FONTS]
    if monitors:  # Wine 8's XRandR driver takes the X server's outputs for monitors (Xvfb has one); its
        values += [(r"Software\Wine\X11 Driver", "UseXRandR", "REG_SZ", "N")]  # Xinerama one takes RandR's
    for key, name, kind, data in values:
        wine(desktop, "reg", "add", "HKCU\\" + key, "/v", name, "/t", kind, "/d", data, "/f")
    found = desktop.run("wine", "reg", "query", r"HKCU\Control Panel\International", "/v", "LocaleName")
    check(locale.replace("_", "-") in found, "the user locale: " + locale)
    return desktop


def wine(desktop, *args):  # runs a Windows program and waits until everything it started has ended
    status = subprocess.run(["wine", *args], env=desktop.env, capture_output=True).returncode
    subprocess.run(["wineserver", "-w"], env=desktop.env)
    return status


def installed_traces(desktop):  # the program's files, shortcuts and Apps & features entry, as found
    appdata = glob.glob(desktop.env["WINEPREFIX"] + "/drive_c/users/*/AppData")[0]
    found = [str(path.relative_to(appdata)).lower() for path in Path(appdata).rglob("*")]  # not into links
    found = sorted(path for path in found if "quorvane" in path)
    return found + (["registry"] if wine(desktop, "reg", "query", UNINSTALL_KEY) == 0 else [])


def winget_install(desktop, setup, version):
    """The installer run as winget runs it, with its manifest's silent switches: no window shows, and the one
    Apps & features entry left is the one the manifest (made as the release command makes it) names."""
    folder = tempfile.mkdtemp(dir=desktop.runtime)
    subprocess.run([SOURCE + "/scripts/winget-manifests.sh", setup, version, folder], check=True)
    yaml = Path(glob.glob(folder + "/*.installer.yaml")[0]).read_text()
    manifest = dict(re.findall(r"^[- ]*(\w+): (.*)$", yaml, re.M))  # each key has one value
    sha256 = hashlib.sha256(Path(setup).read_bytes()).hexdigest().upper()
    installer = desktop.spawn(["wine", setup, *manifest["Silent"].split()])
    shown = lambda: desktop.run("xdotool", "search", "--onlyvisible", "--name", "Setup")
    window = wait_for(lambda: shown() or installer.poll() is not None and "none", "the installer", 120)
    check(window == "none" and installer.returncode == 0, "no window shown, with " + manifest["Silent"])
    listed = desktop.run("wine", "reg", "query", UNINSTALL_KEY.rsplit("\\", 1)[0], "/s").replace("\r", "")
    keys = re.findall(r"^HKEY_CURRENT_USER\\.*\\Uninstall\\(.*)$", listed, re.M)
    entry = dict(re.findall(r"^ +(DisplayName|Publisher|DisplayVersion) +REG_SZ +(.*)$", listed, re.M))
    said = {name: manifest[name] for name in ("DisplayName", "Publisher", "DisplayVersion")}
    ok = keys == [manifest["ProductCode"]] and entry == said and said["DisplayVersion"] == version
    check(ok and manifest["InstallerSha256"] == sha256, "the manifest's entry: %s %s" % (keys, entry))


def reinstall_pages(desktop, setup, setup_page):  # each page's "click ..." names its button; left, and killed
    installer = desktop.spawn(["wine", setup])
    # Its window first: the first program run in the prefix starts Wine's services, which keep its output open.
    wait_for(lambda: desktop.run("xdotool", "search", "--onlyvisible", "--name", "Quorvane Setup"), "setup")
    read = lambda: desktop.run("wine", setup_page, "Quorvane Setup")
    shown = ""
    for page in ("welcome", "licence", "components"):  # the directory page is skipped on a reinstall
        shown = wait_for(lambda: (t := read()) and t != shown and t == read() and t, "the %s page" % page)
        button = re.search(r"^1\t(.*)$", shown, re.M)[1].replace("&", "").rstrip(" >")
        said = re.findall(r"click (.+?) to ", shown, re.I)
        check(said == [button], "a reinstall's %s page says to click %s, above %s" % (page, said, button))
        desktop.run("wine", setup_page, "Quorvane Setup", "next")
    installer.kill()  # it alone: Wine's services, started with it, stay for the programs to come
    installer.wait()


def newer_setup(desktop, setup, version):  # the same program by the same installer script, its version raised
    newer = re.sub(r"\d+$", lambda patch: str(int(patch[0]) + 1), version)
    out = "%s/quorvane-%s-setup.exe" % (desktop.runtime, newer)
    exe = os.path.dirname(setup) + "/unsigned/quorvane.exe"
    nsis = ["makensis", "-V1", "-DVERSION=" + newer, "-DEXE=" + exe, "-DOUTFILE=" + out]
    subprocess.run(nsis + [SOURCE + "/packaging/windows/quorvane.nsi"], check=True)
    return out, newer


def run_under_wine(program, *args):  # a Windows test program on its own Xvfb; its exit status
    desktop = wine_desktop(window_manager=False)
    status = subprocess.run(["wine", program, *args], env=desktop.env, stdin=subprocess.DEVNULL).returncode
    subprocess.run(["wineserver", "-k"], env=desktop.env)
    return status


# Midnights the Windows panel goes through: the day before one, and the parts of the panel that change at it.
MIDNIGHTS = [
    ("2027-03-31", {"date line", "times"}),
    ("2027-02-28", {"date line", "times"}),  # a common year: 1 March follows
    ("2028-02-28", {"date line"}),  # a leap year: no row covers the 29th, so the 25-28 row stays
]


def set_clock(desktop, setting):  # a time the clock stands at, or +N seconds it runs ahead, read whole
    Path(desktop.runtime + "/clock.new").write_text(setting + "\n")
    os.replace(desktop.runtime + "/clock.new", desktop.runtime + "/clock")


def through_midnights(desktop):
    """Past each midnight the panel shows the new day's times and date line, as that day looks at noon; a
    clock set back a day is followed too. The panel is read as pictures, compared with each other."""

    area = (*desktop.window("Quorvane")[:3], 257)  # not the option buttons: their focus frame comes and goes
    picture = lambda: desktop.picture(area)
    new = lambda shown: (p := picture()) != shown and picture() == p and p  # drawn to the end: the same twice
    # The panel as it stands, once the first tick and the repaint where the About window stood are done (a
    # picture taken earlier would make the old date look new).
    shown = desktop.settled(area, "the panel as it stands")
    for day, parts in MIDNIGHTS:
        last = datetime.datetime.fromisoformat(day + "T23:59:59+00:00")
        set_clock(desktop, last.strftime("%F %T"))
        before = wait_for(lambda: new(shown), day + ": the panel stopped just before midnight")
        ahead = int(last.timestamp() - time.time())
        set_clock(desktop, "%+d" % ahead)
        after = wait_for(lambda: new(before), day + ": the tick after midnight")
        times = 40 * 3 * area[2]  # the frame of the times begins 40 rows of pixels down, below the date line
        changed = {"times" if i >= times else "date line" for i in range(len(after)) if after[i] != before[i]}
        check(changed == parts, "%s: midnight changes the %s" % (day, " and the ".join(sorted(changed))))
        set_clock(desktop, "%+d" % (ahead - 86400))
        wait_for(lambda: picture() == before, day + ": the clock set back a day")
        set_clock(desktop, (last + datetime.timedelta(hours=12)).strftime("%F %T"))
        shown = wait_for(lambda: (p := picture()) == after and p, day + ": the next day at noon")
        print("ok: %s: the clock set back a day followed, the next day at noon as after midnight" % day)


def case_windows_release(setup, display_change, setup_page):
    """The Windows release under Wine (for Windows) with openbox on two monitors: the zip's files, installed
    as winget installs it, a reinstall's pages, the panel driven as above, through midnights and off monitor B
    (at 96 and 144 dpi), then upgraded as winget upgrades, and uninstalled."""
    version = re.search(r"quorvane-(.*)-setup\.exe$", setup)[1]
    with zipfile.ZipFile(setup.replace("-setup.exe", "-win64.zip")) as portable:
        files = portable.namelist()
        readme = portable.read("README.txt") if "README.txt" in files else b""
    hash_it = b"certutil -hashfile quorvane-%s-win64.zip SHA256" % version.encode()
    notepad = readme.isascii() and readme.count(b"\n") == readme.count(b"\r\n") and hash_it in readme
    check(files == ["quorvane.exe", "LICENSE.txt", "README.txt"] and notepad, "the zip's files: %s" % files)
    mm = "1536/406x1152/305"  # each monitor at 96 dpi, wide enough for the panel at 144 dpi
    second = ("B", mm + "+1536+0", "none")
    desktop = wine_desktop(True, "3072x1152", [("A", mm + "+0+0", "screen"), second])
    winget_install(desktop, setup, version)
    traces = installed_traces(desktop)
    check(traces == INSTALLED, "the program, its shortcuts and its Apps & features entry: %s" % traces)
    reinstall_pages(desktop, setup, setup_page)
    folder = glob.glob(desktop.env["WINEPREFIX"] + "/drive_c/users/*/AppData/Local/Programs/Quorvane")[0]
    set_clock(desktop, "+0")  # read afresh at every look at the clock
    clock = dict(FAKETIME_TIMESTAMP_FILE=desktop.runtime + "/clock", FAKETIME_NO_CACHE="1", TZ="UTC")
    # Timers run on the real time when the clock goes back: the program's, and those of Wine's server.
    clock.update(FAKETIME_DONT_FAKE_MONOTONIC="1", FAKETIME_SKIP_CMDS="wineserver,wineserver64")
    program, panel = desktop.start_program("wine", folder + "/quorvane.exe", clock=clock)
    check(panel == (810, 438, 208, 294), "208x294 at 810,438: %s" % (panel,))
    desktop.wait_out_of_taskbar()
    # With the release there with the press, no move is handed over (Wine would hand it to openbox). A release
    # coming after that leaves openbox's move running (0 to 3 in 10 unstopped), which Wine never calls off: Wine's
    # alone, as Windows' own move ends at the release. (No window manager: Wine's own move, which ends there.)
    desktop.quick_clicks(panel, stopped=program)

    desktop.click(panel, (196, 283))
    wait_for(lambda: desktop.window("About"), '"?" to show the About window')
    desktop.click(panel, (100, 120))
    wait_for(lambda: desktop.window("About") is None, "a click on the panel to hide the About window")
    # Under a Windows window, as on Windows: Wine stacks its windows among themselves, so one raised does not
    # rise above an X client's (an xmessage). Closed then, else Wine's server waits for it at the reinstall.
    desktop.second_start(["wine", folder + "/quorvane.exe"], panel, ["wine", "start", "/max", "notepad"])
    desktop.run("wine", "taskkill", "/im", "notepad.exe")
    closed = lambda: not desktop.run("xdotool", "search", "--name", "Notepad") and desktop.window("Quorvane")
    wait_for(closed, "notepad to close")
    through_midnights(desktop)
    panel = desktop.off_the_second_monitor((1300, 0), (1536, 1152), 1, display_change)
    desktop.click(panel, (196, 270), repeat=2)
    check(program.wait(30) == 0, "a double-click on X ends it with status 0")

    desktop.run("xrandr", "--fb", "3072x1152")
    desktop.run("xrandr", "--setmonitor", *second)
    desktop.run("wine", display_change)
    dpi = ["/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f"]
    desktop.run("wine", "reg", "add", r"HKCU\Control Panel\Desktop", *dpi)
    program, panel = desktop.start_program("wine", folder + "/quorvane.exe")
    check(panel == (1215, 657, 312, 441), "at 144 dpi, 312x441 at 1215,657: %s" % (panel,))
    desktop.off_the_second_monitor((1300, 0), (1536, 1152), 1.5, display_change)
    winget_install(desktop, *newer_setup(desktop, setup, version))
    check(program.wait(30) == 0, "the newer version closes the running panel")

    wine(desktop, folder + "/uninstall.exe", "/S")
    traces = installed_traces(desktop)
    check(traces == [], "a silent uninstall leaves nothing behind: %s" % traces)


if __name__ == "__main__":
    if sys.argv[1] == "--wine":
        sys.exit(run_under_wine(*sys.argv[2:]))
    try:
        globals()["case_" + sys.argv[2]](sys.argv[1], *sys.argv[3:])
    except AssertionError as failure:
        sys.exit("FAIL: %s" % failure)
