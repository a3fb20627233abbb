// The order in which the program looks for its window.
#include "native/daemons/window_choice.h"

bool chooseWindow(const HostOptions& host, const char* environmentWindow, WindowChoice& choice,
                  std::string& error) {
    if (host.windowId != 0) {
        choice = {WindowKind::kHandedOver, host.windowId};
    } else if (environmentWindow && environmentWindow[0] != '\0') {
        uint32_t id = 0;
        if (!parseWindowId(environmentWindow, id)) {
            error = std::string("XSCREENSAVER_WINDOW=") + environmentWindow +
                    ": expected a window id, 0x... or decimal";
            return false;
        }
        choice = {WindowKind::kHandedOver, id};
    } else if (host.root) {
        choice = {WindowKind::kRoot, 0};
    } else {
        choice = {host.fullscreen ? WindowKind::kFullscreen : WindowKind::kOwn, 0};
    }
    return true;
}

bool chooseHost(const HostOptions& host, const char* environmentWindow, const char* waylandDisplay,
                HostKind& kind, std::string& error) {
    const bool xWindow =
        host.windowId != 0 || host.root || (environmentWindow && environmentWindow[0] != '\0');
    const bool compositor = waylandDisplay && waylandDisplay[0] != '\0';
    if (host.x11 && host.wayland) {
        error = "-x11 and -wayland ask for both hosts: give one";
        return false;
    }
    if (host.wayland && xWindow) {
        error = "-wayland cannot draw in an X window (-root, -window-id, XSCREENSAVER_WINDOW)";
        return false;
    }
    kind =
        host.wayland || (!host.x11 && !xWindow && compositor) ? HostKind::kWayland : HostKind::kX11;
    if (host.background && kind == HostKind::kX11) {
        error = "-background draws only on a Wayland compositor";
        return false;
    }
    return true;
}
