#include "app/platform_choice.h"

#include <QString>

namespace quorvane {

std::vector<char*> QtArguments(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
#ifdef QUORVANE_HAVE_XCB
    // Qt itself picks Wayland wherever a Wayland session is named.
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1StringView("wayland");
    if (waylandSession && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        static char option[] = "-platform";
        static char platforms[] = "xcb;wayland"; // Qt tries them in this order
        arguments.push_back(option);
        arguments.push_back(platforms);
    }
#endif
    arguments.push_back(nullptr);
    return arguments;
}

} // namespace quorvane
