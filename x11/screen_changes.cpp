// RandR's screen events, selected on the root and passed on to Xlib.
#include "x11/screen_changes.h"

#include <X11/extensions/Xrandr.h>

ScreenChangeEvents watchScreenChanges(Display* display) {
    ScreenChangeEvents watch;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &watch.randrBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor)) {
        watch.randrBase = -1;
        return watch;
    }
    // A server before 1.2 refuses the masks it does not know.
    const bool crtcs = major > 1 || (major == 1 && minor >= 2);
    XRRSelectInput(display, DefaultRootWindow(display),
                   RRScreenChangeNotifyMask |
                       (crtcs ? RRCrtcChangeNotifyMask | RROutputChangeNotifyMask : 0));
    return watch;
}

bool noteScreenChange(const ScreenChangeEvents& watch, XEvent& event) {
    const bool rootConfigured = event.type == ConfigureNotify &&
                                event.xconfigure.window == DefaultRootWindow(event.xany.display);
    const int randrEvent = event.type - watch.randrBase;
    const bool fromRandr =
        watch.randrBase >= 0 && (randrEvent == RRScreenChangeNotify || randrEvent == RRNotify);
    if (rootConfigured || fromRandr) {
        XRRUpdateConfiguration(&event);
    }
    return rootConfigured || fromRandr;
}
