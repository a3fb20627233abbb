// Where the water goes on the monitors, and the Desktop pictures it shows there: one decision,
// on plain sizes and rectangles, for the start and for every change of the window or the screen.
#pragma once

#include "common/monitor_layout.h"
#include "native/pictures/desktop_image.h"

#include <string>

// A layout of the water for one size and place of the window: the one Desktop's pictures were
// last cut for.
struct WaterLayout {
    // A window that spans the screen gives each monitor its own viewport and, with Desktop, its
    // own part of the desktop; a smaller one shows the water once, as the Windows preview does.
    bool spansScreen = false;
    ScreenRect window = {};    // the area drawn in, in screen pixels
    bool picturesCut = false;  // whether Desktop's pictures were cut for a layout yet
    MonitorList monitors = {}; // the monitors they were cut for
};

// Lays the frames' viewports out for the window as it is now, and for Desktop cuts the pictures
// of this layout from the kept image when those of the last cut no longer fit. Updates layout
// when it cuts; true when new pictures wait for uploadSourcePicture. The first call, before the
// scene starts, turns Desktop into Chomify (with one line) when the pictures cannot be had.
bool layOutWater(const ScreenShape& screen, const ScreenRect& window, const DesktopImage& desktop,
                 WaterLayout& layout);

// Frees the source picture and makes the source Chomify, with one line on stderr giving why.
void showChomifyInstead(const std::string& whyNot);
