#pragma once

// What the windows need of X11 that Qt does not offer: the program's
// connection to the X server and atoms by name. Only where built with xcb.
#ifdef QUORVANE_HAVE_XCB
#include <xcb/xcb.h>

namespace quorvane {

// The connection Qt opened, or nullptr when the program is not on X11.
xcb_connection_t* X11Connection();

// The atom of that name (created if need be); XCB_ATOM_NONE on failure.
xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name);

} // namespace quorvane
#endif
