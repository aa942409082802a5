// Usage: setup_page TITLE [next]. Prints the id and text of each control shown in the window whose title
// begins with TITLE ("Quorvane Setup", then ": License Agreement"...), then, given "next", presses its Next
// button (IDOK) as Enter would. WM_GETTEXT, not GetWindowText: the controls are another process's.
#include <windows.h>

#include <cstdio>
#include <cstring>

static const char* title;
static HWND setup;

static BOOL CALLBACK find(HWND window, LPARAM)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && !std::strncmp(text, title, std::strlen(title)))
        setup = window;
    return !setup;
}

static BOOL CALLBACK print(HWND control, LPARAM)
{
    if (IsWindowVisible(control)) {
        char text[4096] = {};
        SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        std::printf("%d\t%s\n", GetDlgCtrlID(control), text);
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    title = argv[1];
    EnumWindows(find, 0);
    if (!setup)
        return 1;
    EnumChildWindows(setup, print, 0);
    if (argc > 2 && !std::strcmp(argv[2], "next"))
        PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
}
