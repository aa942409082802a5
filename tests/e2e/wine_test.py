#!/usr/bin/python3
"""Usage: wine_test.py SETUP_EXE. The Windows release under Wine on Xvfb with openbox: a silent install
for the current user, the installed panel driven with xdotool, and a silent uninstall that leaves
nothing behind."""
import glob, os, subprocess, sys, time
from desktop_test import Desktop, check, wait_for

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"
START_MENU = "roaming/microsoft/windows/start menu/programs/"
INSTALLED = [
    "local/programs/quorvane",
    "local/programs/quorvane/license.txt",
    "local/programs/quorvane/quorvane.exe",
    "local/programs/quorvane/uninstall.exe",
    START_MENU + "quorvane.lnk",
    START_MENU + "startup/quorvane.lnk",
    "registry",
]


def wine(desktop, *args):  # runs a Windows program and waits until everything it started has ended
    status = subprocess.run(["wine", *args], env=desktop.env, capture_output=True).returncode
    subprocess.run(["wineserver", "-w"], env=desktop.env)
    return status


def installed_traces(desktop):  # the program's files, shortcuts and Apps & features entry, as found
    appdata = glob.glob(desktop.env["WINEPREFIX"] + "/drive_c/users/*/AppData")[0]
    found = []
    for folder, dirs, files in os.walk(appdata):  # not into the links to the host's folders
        found += [os.path.relpath(folder, appdata) + "/" + name for name in dirs + files]
    found = sorted(path.lower() for path in found if "quorvane" in path.lower())
    return found + (["registry"] if wine(desktop, "reg", "query", UNINSTALL_KEY) == 0 else [])


def case_windows_release(setup):
    desktop = Desktop()
    desktop.env["WINEPREFIX"] = desktop.runtime + "/prefix"
    subprocess.run(
        [os.path.dirname(__file__) + "/../windows/wine-prefix.sh", desktop.env["WINEPREFIX"]],
        env=desktop.env,
        check=True,
    )
    desktop.env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    check(wine(desktop, setup, "/S") == 0, "silent install")
    traces = installed_traces(desktop)
    check(traces == INSTALLED, "the program, its shortcuts and its Apps & features entry: %s" % traces)
    folder = glob.glob(desktop.env["WINEPREFIX"] + "/drive_c/users/*/AppData/Local/Programs/Quorvane")[0]
    program = desktop.spawn(["wine", folder + "/quorvane.exe"])
    panel = wait_for(lambda: desktop.window("Quorvane"), "the Quorvane window")
    check(panel == (810, 438, 208, 294), "208x294 at 810,438: %s" % (panel,))
    check("SKIP_TASKBAR" in desktop.run("xprop", "-name", "Quorvane", "_NET_WM_STATE"), "out of the taskbar")

    x, y = panel[0] + 60, panel[1] + 8  # on the title; the pointer moves on at once
    desktop.xdotool("mousemove", x, y)
    desktop.xdotool("mousedown", 1, "mousemove", x - 30, y - 20)
    for step in range(2, 11):
        desktop.xdotool("mousemove", x - 30 * step, y - 20 * step)
    time.sleep(0.5)
    desktop.xdotool("mouseup", 1, pause=0.3)
    panel = desktop.window("Quorvane")
    check(panel[:2] == (510, 238), "a quick drag followed the pointer by (-300, -200): %s" % (panel,))

    desktop.click(panel, (196, 283))
    wait_for(lambda: desktop.window("About"), '"?" to show the About window')
    desktop.click(panel, (100, 120))
    wait_for(lambda: desktop.window("About") is None, "a click on the panel to hide the About window")
    desktop.click(panel, (196, 270), repeat=2)
    check(program.wait(30) == 0, "a double-click on X ends it with status 0")

    wine(desktop, folder + "/uninstall.exe", "/S")
    traces = installed_traces(desktop)
    check(traces == [], "a silent uninstall leaves nothing behind: %s" % traces)


if __name__ == "__main__":
    try:
        case_windows_release(os.path.abspath(sys.argv[1]))
    except AssertionError as failure:
        sys.exit("FAIL: %s" % failure)
