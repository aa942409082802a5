// Kept free of Qt so that it reads as the Windows calls it makes.
#include "ui/main/win32_caption_drag.h"

#include <windows.h>
#include <windowsx.h>

namespace quorvane {

std::optional<std::pair<int, int>> Win32LeftPressAt(const void* message, std::uintptr_t windowHandle)
{
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_LBUTTONDOWN || msg->hwnd != reinterpret_cast<HWND>(windowHandle))
        return std::nullopt;
    return std::pair {GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
}

bool Win32CaptionDrag(std::uintptr_t windowHandle)
{
    const auto hwnd = reinterpret_cast<HWND>(windowHandle);
    // WM_NCLBUTTONDOWN is the left button's message, and the move it starts
    // ends when the left button comes up. GetKeyState gives the button as it
    // was when the message being handled was taken from the queue.
    if (hwnd == nullptr || (GetKeyState(VK_LBUTTON) & 0x8000) == 0)
        return false;
    // The press captured the mouse; let the system have it.
    ReleaseCapture();
    const DWORD at = GetMessagePos(); // the press's own place on the screen
    SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(LOWORD(at), HIWORD(at)));
    return true;
}

} // namespace quorvane
