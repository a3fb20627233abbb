// Where each monitor's water is drawn: the monitors' rectangles in, OpenGL viewports out.
#pragma once

#include <cstdint>

// At most this many monitors get water of their own; any further monitor stays black.
constexpr int32_t kMaxMonitors = 16;

// A rectangle in virtual-screen pixels, whose origin the platform sets: on Windows the primary
// monitor's top-left corner, so others may lie at negative coordinates; on X11 the root
// window's, where the primary may lie anywhere. Right and bottom are exclusive.
struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The monitors as the platform lists them: the primary first, the others in the system's order.
struct MonitorList {
    ScreenRect monitors[kMaxMonitors];
    int32_t count = 0;
};

// Adds a monitor in the system's order. The primary goes to the front, wherever it comes; once
// the list is full, the monitors that follow (other than the primary) are left out.
void addMonitor(MonitorList& list, const ScreenRect& monitor, bool primary);

// The rectangle all the monitors span: the virtual screen. All zero when the list is empty.
ScreenRect virtualScreen(const MonitorList& list);

// A rectangle of the window in OpenGL's convention: x, y of the bottom-left corner.
struct Viewport {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// One viewport per monitor that the window shows, in the order of the list, and for each the
// index in the list of the monitor it shows: the index of its picture, and 0 for the primary.
struct MonitorLayout {
    Viewport viewports[kMaxMonitors];
    int32_t monitors[kMaxMonitors] = {};
    int32_t count = 0;
};

// Each monitor's rectangle moved into the window's client area (given in virtual-screen
// pixels), clipped to it; monitors the window does not show are dropped, and the others keep
// their indices. The preview, a machine with one monitor, and a window that no monitor shows
// get the whole client area, as monitor 0.
MonitorLayout layoutMonitors(const MonitorList& list, const ScreenRect& client, bool preview);
