#pragma once

// What the platform's X11 parts share: the connection Qt opened, atoms,
// window properties and requests to the window manager. Built only with xcb.
#include <QList>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <xcb/xcb.h>

namespace platform {

// Qt's connection, or null where Qt does not run on X11.
xcb_connection_t *x11Connection();

template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&free)>;

// Asks for all of the program's own atoms at once, without waiting.
void askForAtoms(xcb_connection_t *connection);

// The atom of that name (the program's own are asked for together, once).
xcb_atom_t internAtom(xcb_connection_t *connection, const char *name);

// The 32-bit values of a window property, empty when it is not set.
QList<uint32_t> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type);

xcb_window_t rootOf(xcb_connection_t *connection);

// A request to the window manager about `window`, as the EWMH has clients send them.
void tellWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                       std::initializer_list<uint32_t> data);

} // namespace platform
