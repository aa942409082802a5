// Windows: the move a press on the caption bar starts. Releasing the capture
// the press took lets the system take over the button; SendMessage returns
// when the button is released and the move has ended.
#include "ui/main/system_move.h"

#include <QWidget>

#include <windows.h>

namespace quorvane {

bool StartSystemMove(QWidget& window)
{
    const auto hwnd = reinterpret_cast<HWND>(window.winId());
    if (hwnd == nullptr)
        return false;
    ReleaseCapture();
    SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return true;
}

} // namespace quorvane
