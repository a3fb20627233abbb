// A decoded picture in main memory, and how it becomes the source picture.
#pragma once

#include "common/monitor_layout.h"

#include <cstdint>
#include <vector>

// width x height pixels of three bytes (red, green, blue), top row first, rows unpadded.
struct RgbPicture {
    std::vector<uint8_t> rgb;
    int32_t width = 0;
    int32_t height = 0;
};

// Fills the source picture buffer at its working size with the picture, nearest pixel, each
// direction scaled on its own, as a stretch copy of the screen or of a picture file. Returns
// false, holding no buffer, for an empty picture or when the buffer cannot be had.
bool stretchIntoSourcePicture(const RgbPicture& picture);

// The Custom picture as both native programs prepare it: the working size chosen from the
// picture and the texture size settings, each side by itself (a picture smaller than the
// setting gets the power of two just above its own side), then the picture stretched into the
// source picture. False, holding no buffer, when that cannot be had.
bool prepareCustomPicture(const RgbPicture& picture);

// The Desktop pictures of a window that spans several monitors: screen covers screenRect (in
// virtual-screen pixels, stretched should their sizes differ), and each monitor's rectangle of
// it is stretched into that monitor's source picture at the texture size settings. False,
// holding no buffers, when one cannot be had.
bool cutMonitorPictures(const RgbPicture& screen, const MonitorList& monitors,
                        const ScreenRect& screenRect);

// Whether every pixel has the same colour; true for a picture without pixels.
bool isOneColour(const RgbPicture& picture);
