// Reading the root window's pixels through the visual's colour masks.
#include "x11/desktop_picture.h"

#include <X11/Xutil.h>

#include <cstring>

namespace {

// The 8-bit value of the channel that mask selects in pixel.
uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const unsigned long maximum = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / maximum);
}

} // namespace

bool readDesktopPicture(Display* display, RgbPicture& picture) {
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    XImage* image = XGetImage(display, RootWindow(display, screen), 0, 0,
                              static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image) {
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgb.assign(3 * static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const bool plain = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 &&
                       image->green_mask == 0xFF00 && image->blue_mask == 0xFF &&
                       image->byte_order == LSBFirst;
    uint8_t* out = picture.rgb.data();
    for (int y = 0; y < height; ++y) {
        const char* row = image->data + static_cast<size_t>(y) * image->bytes_per_line;
        for (int x = 0; x < width; ++x, out += 3) {
            if (plain) {
                // Blue, green, red, unused: the common 24-bit TrueColor layout, read directly.
                out[0] = static_cast<uint8_t>(row[4 * x + 2]);
                out[1] = static_cast<uint8_t>(row[4 * x + 1]);
                out[2] = static_cast<uint8_t>(row[4 * x]);
            } else {
                const unsigned long pixel = XGetPixel(image, x, y);
                out[0] = channel(pixel, image->red_mask);
                out[1] = channel(pixel, image->green_mask);
                out[2] = channel(pixel, image->blue_mask);
            }
        }
    }
    XDestroyImage(image);
    return true;
}
