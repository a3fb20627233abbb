// The saver window's viewports, one per monitor it covers.
#pragma once

#include <windows.h>

#include "common/monitor_layout.h"

// The monitors as they stand now, laid out over the window's client area.
MonitorLayout readMonitorViewports(HWND window);
