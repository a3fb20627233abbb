// A decoded picture in main memory, and how it becomes the source picture.
#pragma once

#include "common/monitor_layout.h"
#include "textures/source_picture.h"

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

// The same for the part of the picture inside area (in its pixels, clipped to it), into target
// at target's working size: a monitor's rectangle of a picture of the whole screen.
bool stretchPartIntoSourcePicture(const RgbPicture& picture, const ScreenRect& area,
                                  SourcePicture& target);

// Sets the working size for a picture file from the texture size settings, each side by itself
// (a picture smaller than the setting gets the power of two just above its own side).
void chooseWorkingSizeFor(const RgbPicture& picture);

// Whether every pixel has the same colour; true for a picture without pixels.
bool isOneColour(const RgbPicture& picture);
