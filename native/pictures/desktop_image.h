// The Desktop source's picture as it was read, kept whole: each layout's pictures are cut from it.
#pragma once

#include "common/monitor_layout.h"
#include "textures/rgb_picture.h"

// The screen as the host sees it now: its whole size and its monitors (outputs), primary first.
struct ScreenShape {
    int width = 0;
    int height = 0;
    MonitorList monitors;
};

struct DesktopImage {
    RgbPicture picture;
    ScreenRect onRoot = {}; // the screen pixels the picture covers
    // Whether a window that does not span the screen shows its own rectangle of the picture, as
    // a daemon's screenshot and the wallpaper are cut for one window per monitor; else it shows
    // the whole picture, as the screen read from the root shrinks into a small window.
    bool cutToWindow = false;
};

// The picture repeated from its top-left corner over width x height pixels, as a display server
// draws a background. False when the memory cannot be had.
bool tilePicture(const RgbPicture& piece, int width, int height, RgbPicture& picture);

// Widens an image of one picture pixel per screen pixel so that it covers rect too, each pixel
// kept where it was and the new ones black, for an output that joins the screen. An empty image
// becomes one of rect. False, the image unchanged, when the memory cannot be had.
bool coverRect(DesktopImage& image, const ScreenRect& rect);
