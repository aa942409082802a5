// Applies the display settings afresh, as Windows does when a monitor is plugged in or unplugged: the
// system reads the monitors again and tells every top-level window (WM_DISPLAYCHANGE). Wine 8 tells no
// program when the X server's monitors change; the Windows release's test runs this after changing them.
#include <windows.h>

int main()
{
    return ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}
