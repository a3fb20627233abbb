// Where the water goes on the monitors, and the pictures it shows there.
#pragma once

#include "common/monitor_layout.h"
#include "x11/desktop_picture.h"
#include "x11/saver_options.h"
#include "x11/saver_window.h"
#include "x11/window_choice.h"

#include <X11/Xlib.h>

#include <string>

// What the source needs, read before any window of the program covers the screen: for Desktop
// its picture, kept whole for every layout to come; for Custom the picture file, prepared at
// once. Desktop that cannot be had becomes Chomify, with one line on stderr. False, with one line
// in error, when the Custom picture cannot be had.
bool readSourcePicture(Display* display, const WindowChoice& choice, const HostOptions& host,
                       DesktopImage& desktop, std::string& error);

// A layout of the water for one size and place of the window: the one Desktop's pictures were
// last cut for.
struct WaterLayout {
    // A window that spans the screen gives each monitor its own viewport and, with Desktop, its
    // own part of the desktop; a smaller one shows the water once, as the Windows preview does.
    bool spansScreen = false;
    ScreenRect window = {}; // the area drawn in, in root-window pixels
    bool picturesCut = false; // whether Desktop's pictures were cut for a layout yet
};

// Lays the frames' viewports out for the window as it is now, and for Desktop cuts the pictures
// of this layout from the kept image when those of the last cut no longer fit. Updates layout
// when it cuts; true when new pictures wait for uploadSourcePicture. The first call, before the scene starts, turns
// Desktop into Chomify (with one line) when the pictures cannot be had.
bool layOutWater(Display* display, const SaverWindow& window, const DesktopImage& desktop,
                 WaterLayout& layout);
