#include "ui/main/x11_system_move.h"

#include "ui/common/x11.h"

#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace quorvane {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

bool WindowManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature)
{
    const xcb_atom_t supported = X11Atom(connection, "_NET_SUPPORTED");
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const auto* end = atoms + xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, end, feature) != end;
}

} // namespace

bool StartX11SystemMove(QWidget& window)
{
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr)
        return false;
    const auto id = static_cast<xcb_window_t>(window.winId());

    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr));
    if (!tree)
        return false;
    const xcb_window_t root = tree->root;
    const xcb_atom_t moveResize = X11Atom(connection, "_NET_WM_MOVERESIZE");
    if (moveResize == XCB_ATOM_NONE || !WindowManagerSupports(connection, root, moveResize))
        return false;
    const Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
    if (!pointer)
        return false;

    // The press grabbed the pointer for us; the window manager needs it.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);

    constexpr uint32_t kMove = 8;          // _NET_WM_MOVERESIZE_MOVE
    constexpr uint32_t kNormalSource = 1;  // an application's request
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = moveResize;
    message.data.data32[0] = static_cast<uint32_t>(pointer->root_x);
    message.data.data32[1] = static_cast<uint32_t>(pointer->root_y);
    message.data.data32[2] = kMove;
    message.data.data32[3] = 1; // the left button, whichever was pressed
    message.data.data32[4] = kNormalSource;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

} // namespace quorvane
