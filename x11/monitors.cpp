// Reading the monitor rectangles: RandR 1.5 knows monitors made of several outputs, Xinerama is
// what older servers offer.
#include "x11/monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

std::vector<MonitorRect> readMonitors(Display* display) {
    std::vector<MonitorRect> monitors;
    const Window root = DefaultRootWindow(display);
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (XRRQueryExtension(display, &eventBase, &errorBase) &&
        XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        XRRMonitorInfo* info = XRRGetMonitors(display, root, True, &count);
        for (int i = 0; info && i < count; ++i) {
            monitors.push_back({info[i].x, info[i].y, info[i].width, info[i].height});
        }
        if (info) {
            XRRFreeMonitors(info);
        }
    }
    if (monitors.empty() && XineramaQueryExtension(display, &eventBase, &errorBase) &&
        XineramaIsActive(display)) {
        int count = 0;
        XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
        for (int i = 0; screens && i < count; ++i) {
            monitors.push_back(
                {screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height});
        }
        if (screens) {
            XFree(screens);
        }
    }
    if (monitors.empty()) {
        const int screen = DefaultScreen(display);
        monitors.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
    }
    return monitors;
}
