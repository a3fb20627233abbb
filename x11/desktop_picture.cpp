// Reading the desktop's pixels, from a daemon's screenshot or from the root window, through the
// colour masks of the visual they were drawn for.
#include "x11/desktop_picture.h"

#include "imaging/picture_files.h"
#include "x11/daemon_preferences.h"
#include "x11/visual_masks.h"
#include "x11/x_error_trap.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct Area {
    int x;
    int y;
    int width;
    int height;
};

// A pixmap's image carries no masks: they come from the visual of the window it belongs to.
// False when the picture's memory cannot be had.
bool decode(XImage* image, const VisualMasks& masks, RgbPicture& picture) {
    const int width = image->width;
    const int height = image->height;
    if (!allocatePicture(picture, width, height)) {
        return false;
    }
    const bool plain = image->bits_per_pixel == 32 && masks.red == 0xFF0000 &&
                       masks.green == 0xFF00 && masks.blue == 0xFF && image->byte_order == LSBFirst;
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
                const Rgb8 rgb = pixelToRgb8(XGetPixel(image, x, y), masks);
                out[0] = rgb.red;
                out[1] = rgb.green;
                out[2] = rgb.blue;
            }
        }
    }
    return true;
}

// Reads the area of the drawable; false, with the reason in whyNot, when the server refuses or
// memory runs out.
bool readArea(Display* display, Drawable drawable, const Area& area, const Visual* visual,
              RgbPicture& picture, std::string& whyNot) {
    XErrorTrap trap(display, XErrorTrap::Kind::kMayFail);
    XImage* image = XGetImage(display, drawable, area.x, area.y, static_cast<unsigned>(area.width),
                              static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (!trap.end() || !image) {
        if (image) {
            XDestroyImage(image);
        }
        whyNot = "the screen cannot be read";
        return false;
    }
    const bool decoded =
        decode(image, {visual->red_mask, visual->green_mask, visual->blue_mask}, picture);
    XDestroyImage(image);
    if (!decoded) {
        whyNot = "no memory for the desktop picture";
    }
    return decoded;
}

// The pixmap the window's screenshot property names, or 0.
Pixmap screenshotOf(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XErrorTrap trap(display);
    XGetWindowProperty(display, window, XInternAtom(display, "_SCREENSAVER_SCREENSHOT", False), 0,
                       1, False, XA_PIXMAP, &type, &format, &count, &after, &data);
    // Format 32 comes as an array of long, whatever the width of long.
    const Pixmap pixmap = type == XA_PIXMAP && format == 32 && count == 1 && data
                              ? static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data))
                              : 0;
    if (data) {
        XFree(data);
    }
    return pixmap;
}

// Where the window's own part lies along one side of a pixmap: all of it when the pixmap is the
// window's size, else the window's place on the root, kept inside the pixmap.
void cutSide(int windowAt, int windowSide, int pixmapSide, int& at, int& side) {
    side = std::min(windowSide, pixmapSide);
    at = std::clamp(windowAt, 0, pixmapSide - side);
}

bool readScreenshot(Display* display, Window window, RgbPicture& picture, std::string& whyNot) {
    const Pixmap pixmap = screenshotOf(display, window);
    if (pixmap == 0) {
        return false;
    }
    XWindowAttributes attributes = {};
    Area area = {};
    {
        XErrorTrap trap(display);
        Window child = 0;
        if (!XGetWindowAttributes(display, window, &attributes) ||
            !XTranslateCoordinates(display, window, attributes.root, 0, 0, &area.x, &area.y,
                                   &child)) {
            return false;
        }
    }
    // A pixmap that does not exist, or not at the window's depth, is no screenshot of it.
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    XErrorTrap trap(display, XErrorTrap::Kind::kMayFail);
    const bool known =
        XGetGeometry(display, pixmap, &root, &x, &y, &width, &height, &border, &depth);
    if (!trap.end() || !known || static_cast<int>(depth) != attributes.depth) {
        return false;
    }
    cutSide(area.x, attributes.width, static_cast<int>(width), area.x, area.width);
    cutSide(area.y, attributes.height, static_cast<int>(height), area.y, area.height);
    return area.width > 0 && area.height > 0 &&
           readArea(display, pixmap, area, attributes.visual, picture, whyNot);
}

} // namespace

bool readDesktopPicture(Display* display, Window handedOver, RgbPicture& picture,
                        std::string& whyNot) {
    if (!grabDesktopImages(std::getenv("HOME"))) {
        whyNot = "desktop grabbing is off (grabDesktopImages in ~/.xscreensaver)";
        return false;
    }
    // A screenshot of one colour is what the monitor showed; only the root can be a blank cover.
    if (handedOver != 0 && readScreenshot(display, handedOver, picture, whyNot)) {
        return true;
    }
    const int screen = DefaultScreen(display);
    const Area whole = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    if (!readArea(display, RootWindow(display, screen), whole, DefaultVisual(display, screen),
                  picture, whyNot)) {
        return false;
    }
    if (isOneColour(picture)) {
        whyNot = "the screen is one single colour";
        return false;
    }
    return true;
}
