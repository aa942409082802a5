#pragma once

class QWidget;

namespace quorvane {

// Asks the windowing system to run its own interactive move of the window;
// false where it will not.
bool StartSystemMove(QWidget& window);

} // namespace quorvane
