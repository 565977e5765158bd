#pragma once

// What the platform's X11 parts share: the connection Qt opened, atoms,
// window properties, requests to the window manager, and the one filter that
// reads the server's events for all of them. Built only with xcb.
#include <QList>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <xcb/xcb.h>

namespace platform {

// Qt's connection, or null where Qt does not run on X11.
xcb_connection_t *x11Connection();

template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&free)>;

// Every atom the program uses, by a name the compiler checks.
enum class Atom {
    WmChangeState,
    WmDeleteWindow,
    WmProtocols,
    WmState,
    MotifWmHints,
    NetActiveWindow,
    NetClientListStacking,
    NetCurrentDesktop,
    NetFrameExtents,
    NetRequestFrameExtents,
    NetShowingDesktop,
    NetSupported,
    NetWmDesktop,
    NetWmState,
    NetWmStateHidden,
    NetWmStateShaded,
    NetWmStateSkipTaskbar,
    Count
};

// Asks for all of the atoms at once, without waiting.
void askForAtoms(xcb_connection_t *connection);

// The atom (all are asked for together, once, and read on first use).
xcb_atom_t atom(xcb_connection_t *connection, Atom which);

// The 32-bit values of a window property, empty when it is not set.
QList<uint32_t> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type);

xcb_window_t rootOf(xcb_connection_t *connection);

// Whether the window manager lists this among what it supports.
bool supports(xcb_connection_t *connection, Atom which);

// A request to the window manager about `window`, as the EWMH has clients send them.
void tellWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                       std::initializer_list<uint32_t> data);

// The server's events, read once for the whole program before Qt handles
// them: `handler` is called with each event of the given kinds (the event's
// response type without its "sent" bit; XCB_GE_GENERIC for XInput's) until
// `stopWatching` is called with the number returned. Either may be called
// from a handler.
using EventHandler = std::function<void(const xcb_generic_event_t *)>;
int watchEvents(std::initializer_list<uint8_t> kinds, EventHandler handler);
void stopWatching(int watch);

} // namespace platform
