// The saver window's viewports, one per monitor it covers, and its place after a mode switch.
#pragma once

#include <windows.h>

#include "common/monitor_layout.h"

// The monitors as they stand now, laid out over the window's client area.
MonitorLayout readMonitorViewports(HWND window);

// The virtual screen once the primary monitor shows a mode of this size at 0, 0, the other
// monitors staying where the system lists them.
ScreenRect virtualScreenAfterSwitch(int32_t width, int32_t height);
