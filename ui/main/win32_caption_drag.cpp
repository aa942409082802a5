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
    // The release already queued (a quick click: a tap, a remote desktop):
    // the system's move would end at it at once, so there is none to run.
    // Wine hands the move to the X window manager and never calls that move
    // off, which then waits for a release that has gone by; this spares it
    // the move where the release has reached the program. Where the release
    // comes after the move was handed over, the window manager's move runs on
    // under Wine until the next click: Wine's alone, as Windows' own move
    // ends at the release.
    MSG release;
    if (PeekMessageA(&release, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE) != 0)
        return true;
    // The press captured the mouse; let the system have it.
    ReleaseCapture();
    const DWORD at = GetMessagePos(); // the press's own place on the screen
    SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(LOWORD(at), HIWORD(at)));
    return true;
}

} // namespace quorvane
