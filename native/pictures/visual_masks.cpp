// A visual's masks turned into 8-bit channels.
#include "native/pictures/visual_masks.h"

namespace {

uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const unsigned long maximum = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<uint8_t>((value * 255 + maximum / 2) / maximum);
}

} // namespace

Rgb8 pixelToRgb8(unsigned long pixel, const VisualMasks& masks) {
    return {channel(pixel, masks.red), channel(pixel, masks.green), channel(pixel, masks.blue)};
}
