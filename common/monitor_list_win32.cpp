// listMonitors: EnumDisplayMonitors and GetMonitorInfoA, both in Windows XP's user32.
#include <windows.h>

#include "common/monitor_list_win32.h"

namespace {

BOOL CALLBACK addEnumeratedMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        addMonitor(*reinterpret_cast<MonitorList*>(data), {r.left, r.top, r.right, r.bottom},
                   (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    }
    return TRUE;
}

} // namespace

MonitorList listMonitors() {
    MonitorList list;
    EnumDisplayMonitors(nullptr, nullptr, addEnumeratedMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}
