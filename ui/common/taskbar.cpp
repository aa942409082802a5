#include "ui/common/taskbar.h"

#include <QWidget>

#ifdef QUORVANE_HAVE_XCB
#include "ui/common/x11.h"

#include <algorithm>
#endif

namespace quorvane {

void KeepOutOfTaskbar([[maybe_unused]] QWidget& window)
{
#ifdef QUORVANE_HAVE_XCB
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr)
        return; // not on X11
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t property = X11Atom(connection, "_NET_WM_STATE");
    if (property == XCB_ATOM_NONE)
        return;
    // Add to what the window's state already holds, keep the rest.
    std::vector<xcb_atom_t> states = X11AtomList(connection, id, property);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t atom = X11Atom(connection, name);
        if (atom != XCB_ATOM_NONE && std::find(states.begin(), states.end(), atom) == states.end())
            states.push_back(atom);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, property, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
#endif
}

} // namespace quorvane
