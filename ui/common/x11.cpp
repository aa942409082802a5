#include "ui/common/x11.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace quorvane {
namespace {

// xcb's replies are malloc'ed and handed over to the caller.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

} // namespace

xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t {XCB_ATOM_NONE};
}

xcb_window_t X11RootOf(xcb_connection_t* connection, xcb_window_t window)
{
    const ReplyPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    return tree ? tree->root : xcb_window_t {XCB_WINDOW_NONE};
}

std::vector<xcb_atom_t> X11AtomList(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    constexpr uint32_t kMostAtoms = 1024; // a window manager's _NET_SUPPORTED is the longest
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, kMostAtoms);
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + xcb_get_property_value_length(reply.get()) / 4};
}

} // namespace quorvane
