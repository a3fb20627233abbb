// The Desktop source: what the screen showed before the program, or a daemon, covered it.
#pragma once

#include "native/pictures/desktop_image.h"

#include <X11/Xlib.h>

#include <string>

// The first of these that can be had: the handed-over window's screenshot (the daemon's
// _SCREENSAVER_SCREENSHOT, taken before it blanked the monitors; handedOver is 0 for none); the
// root window, unless it is one single colour (most likely a daemon's blank window already over
// everything); the wallpaper that the desktop published on the root (_XROOTPMAP_ID, else
// ESETROOT_PMAP_ID), tiled over the root from its origin as the server draws a background; the
// wallpaper file that GNOME's or KDE's settings name, laid over the screen's monitors; and, when
// no daemon handed a window over, the root of one colour after all.
// False, with the reason in whyNot (one phrase, no newline), when ~/.xscreensaver turns
// grabbing off, when the root cannot be read, or when none of them can be had.
bool readDesktopPicture(Display* display, Window handedOver, const ScreenShape& shape,
                        DesktopImage& image, std::string& whyNot);
