#include "ui/common/x11.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

namespace quorvane {

xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply != nullptr)
        atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace quorvane
