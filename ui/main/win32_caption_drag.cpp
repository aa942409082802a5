// Kept free of Qt so that it can be compiled (and checked) anywhere a
// Windows cross compiler is.
#include "ui/main/win32_caption_drag.h"

#include <windows.h>

namespace quorvane {

bool Win32CaptionDrag(std::uintptr_t windowHandle)
{
    const auto hwnd = reinterpret_cast<HWND>(windowHandle);
    if (hwnd == nullptr)
        return false;
    // The press on the title label captured the mouse; let the system have it.
    ReleaseCapture();
    SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return true;
}

} // namespace quorvane
