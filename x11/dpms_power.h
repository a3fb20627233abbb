// The X server's DPMS power level, as the display-sleep watch reads it.
#pragma once

#include "native/running/display_sleep.h"

#include <X11/Xlib.h>

#include <functional>

// A reader of the power level, or null when the server has no DPMS, or DPMS is not capable or
// not enabled (as on Xvfb): then the program never pauses.
std::function<DisplayPower()> dpmsPowerReader(Display* display);
