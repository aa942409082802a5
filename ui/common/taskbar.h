#pragma once

class QWidget;

namespace quorvane {

// Keeps a top-level window out of the taskbar and the pager. On Windows a
// tool window already is; an X11 window manager has to be told, and forgets
// it when the window is hidden, so call this each time just before the
// window is mapped (from its show event).
void KeepOutOfTaskbar(QWidget& window);

} // namespace quorvane
