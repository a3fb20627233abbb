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
