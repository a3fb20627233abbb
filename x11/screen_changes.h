// Following the screen's size and monitors as RandR reports their changes.
#pragma once

#include <X11/Xlib.h>

// Where RandR's events lie among the server's event numbers.
struct ScreenChangeEvents {
    int randrBase = -1; // RandR's first event number; -1 without RandR
};

// Asks for RandR's events about the screen on the root: its size, and from RandR 1.2 on its
// CRTCs and outputs. RandR 1.5 monitors set by hand come with no event of their own.
ScreenChangeEvents watchScreenChanges(Display* display);

// Whether the event tells of a change of the screen: a RandR event, or a ConfigureNotify of the
// root. Each is handed to Xlib first, which otherwise goes on reporting the screen's size at
// start (DisplayWidth, DisplayHeight).
bool noteScreenChange(const ScreenChangeEvents& watch, XEvent& event);
