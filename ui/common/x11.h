#pragma once

// What the windows need of X11 that Qt does not offer: the program's
// connection to the X server, root windows, atoms by name and atom lists.
// Only where built with xcb.
#ifdef QUORVANE_HAVE_XCB
#include <xcb/xcb.h>

#include <vector>

namespace quorvane {

// The connection Qt opened, or nullptr when the program is not on X11.
xcb_connection_t* X11Connection();

// The atom of that name (created if need be); XCB_ATOM_NONE on failure.
xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name);

// The root window of the screen the window is on; XCB_WINDOW_NONE on failure.
xcb_window_t X11RootOf(xcb_connection_t* connection, xcb_window_t window);

// The atoms a window's property of type ATOM holds; empty when it has none.
std::vector<xcb_atom_t> X11AtomList(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property);

} // namespace quorvane
#endif
