#include "ui/main/system_move.h"

#include <QWidget>
#include <QWindow>

#if defined(Q_OS_WIN)
#include "ui/main/win32_caption_drag.h"
#elif defined(QUORVANE_HAVE_XCB)
#include "ui/main/x11_system_move.h"
#endif

namespace quorvane {

bool StartSystemMove(QWidget& window)
{
#ifdef Q_OS_WIN
    return Win32CaptionDrag(static_cast<std::uintptr_t>(window.winId()));
#else
#ifdef QUORVANE_HAVE_XCB
    if (StartX11SystemMove(window))
        return true;
#endif
    QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove();
#endif
}

} // namespace quorvane
