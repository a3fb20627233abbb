// readMonitorViewports: the client area in virtual-screen pixels and the system's monitors.
#include <windows.h>

#include "host/monitor_viewports_win32.h"

#include "common/monitor_list_win32.h"
#include "common/preview_flag.h"

MonitorLayout readMonitorViewports(HWND window) {
    RECT client = {}; // stays empty if the window is already gone
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const ScreenRect onScreen = {origin.x, origin.y, origin.x + client.right - client.left,
                                 origin.y + client.bottom - client.top};
    return layoutMonitors(listMonitors(), onScreen, isPreview != 0);
}

ScreenRect virtualScreenAfterSwitch(int32_t width, int32_t height) {
    MonitorList monitors = listMonitors();
    const ScreenRect primary = {0, 0, width, height};
    if (monitors.count == 0) {
        addMonitor(monitors, primary, true);
    }
    monitors.monitors[0] = primary;
    return virtualScreen(monitors);
}
