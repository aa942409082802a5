#pragma once

#include <vector>

namespace quorvane {

// The arguments to start Qt with. On a Wayland desktop the compositor would
// place the panel where it likes and give it a taskbar button, so where the
// user has not chosen a platform (QT_QPA_PLATFORM) and an X server is named,
// the panel runs on X11 (XWayland on such a desktop), and natively on
// Wayland only where that X server cannot be reached. The choice travels as
// Qt's own -platform argument: nothing the program starts inherits it.
// The pointers stay valid while argv does; the list ends with a null pointer.
std::vector<char*> QtArguments(int argc, char* argv[]);

} // namespace quorvane
