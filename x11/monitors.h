// The monitors of an X screen, as plain rectangles.
#pragma once

#include <X11/Xlib.h>

#include <vector>

struct MonitorRect {
    int x;
    int y;
    int width;
    int height;
};

// The monitors from RandR 1.5, else from Xinerama, else the whole screen as one.
std::vector<MonitorRect> readMonitors(Display* display);
