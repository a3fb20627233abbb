// The Desktop source: the screen as it was when the program started.
#pragma once

#include "textures/rgb_picture.h"

#include <X11/Xlib.h>

// Reads the whole root window. False when the server refuses.
bool readDesktopPicture(Display* display, RgbPicture& picture);
