// What the X screen tells the water's layout: its size, its monitors, and what it showed before
// the program covered it.
#pragma once

#include "native/daemons/window_choice.h"
#include "native/layout/water_layout.h"
#include "native/options/saver_options.h"

#include <X11/Xlib.h>

#include <string>

// The root window's size and the monitors on it, as the server reports them now.
ScreenShape readScreenShape(Display* display);

// What the source needs, read before any window of the program covers the screen: for Desktop
// its picture, kept whole for every layout to come; for Custom the picture file, prepared at
// once. Either that cannot be had becomes Chomify, with one line on stderr: under a daemon an
// end would leave the monitor black.
void readSourcePicture(Display* display, const WindowChoice& choice, const HostOptions& host,
                       DesktopImage& desktop);
