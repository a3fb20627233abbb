// Reading the monitor rectangles: RandR 1.5 knows monitors made of several outputs, Xinerama is
// what older servers offer.
#include "x11/monitor_list.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

ScreenRect rectangle(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

} // namespace

MonitorList listMonitors(Display* display) {
    MonitorList monitors;
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
            addMonitor(monitors, rectangle(info[i].x, info[i].y, info[i].width, info[i].height),
                       info[i].primary != 0);
        }
        if (info) {
            XRRFreeMonitors(info);
        }
    }
    if (monitors.count == 0 && XineramaQueryExtension(display, &eventBase, &errorBase) &&
        XineramaIsActive(display)) {
        int count = 0;
        XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
        for (int i = 0; screens && i < count; ++i) {
            addMonitor(
                monitors,
                rectangle(screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height),
                i == 0);
        }
        if (screens) {
            XFree(screens);
        }
    }
    if (monitors.count == 0) {
        const int screen = DefaultScreen(display);
        addMonitor(monitors,
                   rectangle(0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)),
                   true);
    }
    return monitors;
}
