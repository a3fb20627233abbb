// The monitors of an X screen, as the shared monitor list.
#pragma once

#include "common/monitor_layout.h"

#include <X11/Xlib.h>

// The monitors from RandR 1.5, else from Xinerama, else the whole screen as one; the primary
// first (RandR names it; Xinerama lists it first).
MonitorList listMonitors(Display* display);
