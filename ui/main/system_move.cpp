#include "ui/main/system_move.h"

#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include "ui/main/win32_caption_drag.h"
#endif

namespace quorvane {

bool StartSystemMove(QWidget& window)
{
#ifdef Q_OS_WIN
    return Win32CaptionDrag(static_cast<std::uintptr_t>(window.winId()));
#else
    QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove();
#endif
}

} // namespace quorvane
