// Ordering the monitors and turning their rectangles into viewports.
#include "common/monitor_layout.h"

#include <algorithm>

namespace {

Viewport wholeClientArea(const ScreenRect& client) {
    return {0, 0, std::max(0, client.right - client.left), std::max(0, client.bottom - client.top)};
}

} // namespace

void addMonitor(MonitorList& list, const ScreenRect& monitor, bool primary) {
    if (!primary) {
        if (list.count < kMaxMonitors) {
            list.monitors[list.count++] = monitor;
        }
        return;
    }
    // The last one falls off a full list to make room.
    const int32_t kept = std::min(list.count, kMaxMonitors - 1);
    std::copy_backward(list.monitors, list.monitors + kept, list.monitors + kept + 1);
    list.monitors[0] = monitor;
    list.count = kept + 1;
}

ScreenRect virtualScreen(const MonitorList& list) {
    if (list.count == 0) {
        return {0, 0, 0, 0};
    }
    ScreenRect screen = list.monitors[0];
    for (int32_t i = 1; i < list.count; ++i) {
        const ScreenRect& m = list.monitors[i];
        screen = {std::min(screen.left, m.left), std::min(screen.top, m.top),
                  std::max(screen.right, m.right), std::max(screen.bottom, m.bottom)};
    }
    return screen;
}

MonitorLayout layoutMonitors(const MonitorList& list, const ScreenRect& client, bool preview) {
    MonitorLayout layout;
    if (!preview && list.count > 1) {
        const int32_t clientHeight = client.bottom - client.top;
        for (int32_t i = 0; i < list.count; ++i) {
            const ScreenRect& m = list.monitors[i];
            const int32_t left = std::max(m.left, client.left) - client.left;
            const int32_t top = std::max(m.top, client.top) - client.top;
            const int32_t right = std::min(m.right, client.right) - client.left;
            const int32_t bottom = std::min(m.bottom, client.bottom) - client.top;
            if (right > left && bottom > top) {
                layout.viewports[layout.count] = {left, clientHeight - bottom, right - left,
                                                  bottom - top};
                layout.monitors[layout.count++] = i;
            }
        }
    }
    if (layout.count == 0) {
        layout.viewports[0] = wholeClientArea(client);
        layout.count = 1;
    }
    return layout;
}
