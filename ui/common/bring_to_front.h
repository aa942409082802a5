#pragma once

class QWidget;

namespace quorvane {

// Shows a top-level window whole and in front, with the keyboard: taken from
// its icon if a window manager's menu or keys minimized it (neither window has
// a button for that), shown, raised and activated.
void BringToFront(QWidget& window);

} // namespace quorvane
