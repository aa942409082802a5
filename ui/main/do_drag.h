#pragma once

class QWidget;

namespace quorvane {

// Hands a move of the window over to the system, as a press on a title bar
// would. A maximized window is not moved. Where the system refuses the move
// (an X server without a window manager, say), the window follows the mouse
// until the button is released instead. Nothing escapes: every error is
// swallowed here.
void DoDrag(QWidget* p_TheForm) noexcept;

} // namespace quorvane
