// A pixel of a TrueColor visual as 8-bit red, green and blue, whatever the visual's channel widths.
#pragma once

#include <cstdint>

// The visual's masks: a pixmap's image carries none, so they come from the window's visual.
struct VisualMasks {
    unsigned long red;
    unsigned long green;
    unsigned long blue;
};

struct Rgb8 {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Each channel's full range onto 0-255, rounded: 31 of a 5-bit channel and 63 of a 6-bit one
// both give 255, as 255 of an 8-bit one does. A channel whose mask is empty gives 0.
Rgb8 pixelToRgb8(unsigned long pixel, const VisualMasks& masks);
