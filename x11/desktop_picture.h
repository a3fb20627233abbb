// The Desktop source: what the screen showed before the program, or a daemon, covered it.
#pragma once

#include "textures/rgb_picture.h"

#include <X11/Xlib.h>

#include <string>

// The handed-over window's screenshot (the daemon's _SCREENSAVER_SCREENSHOT, taken before it
// blanked the monitors) when it carries one; else the whole root window. handedOver is 0 for
// none. False, with the reason in whyNot (one phrase, no newline), when ~/.xscreensaver turns
// grabbing off, when the root cannot be read, or when it is one single colour (most likely a
// daemon's blank window already over everything).
bool readDesktopPicture(Display* display, Window handedOver, RgbPicture& picture,
                        std::string& whyNot);
