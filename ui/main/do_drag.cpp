#include "ui/main/do_drag.h"

#include "ui/main/manual_window_move.h"
#include "ui/main/system_move.h"

#include <QWidget>

namespace quorvane {

void DoDrag(QWidget* p_TheForm) noexcept
{
    try {
        if (p_TheForm == nullptr || p_TheForm->isMaximized())
            return;
        if (!StartSystemMove(*p_TheForm))
            ManualWindowMove::Start(*p_TheForm);
    } catch (...) {
        // A move that cannot start leaves the window where it is.
    }
}

} // namespace quorvane
