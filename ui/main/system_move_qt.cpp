#include "ui/main/system_move.h"

#include <QWidget>
#include <QWindow>

namespace quorvane {

bool StartSystemMove(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove();
}

} // namespace quorvane
