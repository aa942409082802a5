#pragma once

class QWidget;

namespace quorvane {

// X11: asks the window manager to run its own interactive move of the
// window, from where the pointer is now (read from the server, so it is
// right even before the toolkit has heard where the window manager put the
// window). False when not on X11 or the window manager cannot do it.
bool StartX11SystemMove(QWidget& window);

} // namespace quorvane
