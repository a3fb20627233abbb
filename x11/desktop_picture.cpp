// Reading the desktop's pixels, from a daemon's screenshot, the root window or the wallpaper,
// through the colour masks of the visual they were drawn for.
#include "x11/desktop_picture.h"

#include "imaging/picture_files.h"
#include "native/daemons/daemon_preferences.h"
#include "native/pictures/visual_masks.h"
#include "native/wallpaper/wallpaper_file.h"
#include "x11/x_error_trap.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

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

// The pixmap a property of the window names (type PIXMAP, format 32, one value), or 0.
Pixmap pixmapProperty(Display* display, Window window, const char* property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XErrorTrap trap(display);
    XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 1, False,
                       XA_PIXMAP, &type, &format, &count, &after, &data);
    // Format 32 comes as an array of long, whatever the width of long.
    const Pixmap pixmap = type == XA_PIXMAP && format == 32 && count == 1 && data
                              ? static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data))
                              : 0;
    if (data) {
        XFree(data);
    }
    return pixmap;
}

// The pixmap's size, when it exists at that depth: a freed one, or one of another depth, is no
// picture of the screen.
bool pixmapSize(Display* display, Pixmap pixmap, int depth, int& width, int& height) {
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned pixmapWidth = 0;
    unsigned pixmapHeight = 0;
    unsigned border = 0;
    unsigned pixmapDepth = 0;
    XErrorTrap trap(display, XErrorTrap::Kind::kMayFail);
    const bool known = XGetGeometry(display, pixmap, &root, &x, &y, &pixmapWidth, &pixmapHeight,
                                    &border, &pixmapDepth);
    width = static_cast<int>(pixmapWidth);
    height = static_cast<int>(pixmapHeight);
    return trap.end() && known && static_cast<int>(pixmapDepth) == depth && width > 0 && height > 0;
}

// Where a pixmap of the screen begins along one side of the root: a pixmap of the window's size
// lies under the window; a larger one holds the window's place, kept inside the pixmap.
int pixmapOrigin(int windowAt, int windowSide, int pixmapSide) {
    const int side = std::min(windowSide, pixmapSide);
    return windowAt - std::clamp(windowAt, 0, pixmapSide - side);
}

bool readScreenshot(Display* display, Window window, DesktopImage& image, std::string& whyNot) {
    const Pixmap pixmap = pixmapProperty(display, window, "_SCREENSAVER_SCREENSHOT");
    if (pixmap == 0) {
        return false;
    }
    XWindowAttributes attributes = {};
    int windowX = 0;
    int windowY = 0;
    {
        XErrorTrap trap(display);
        Window child = 0;
        if (!XGetWindowAttributes(display, window, &attributes) ||
            !XTranslateCoordinates(display, window, attributes.root, 0, 0, &windowX, &windowY,
                                   &child)) {
            return false;
        }
    }
    int width = 0;
    int height = 0;
    if (!pixmapSize(display, pixmap, attributes.depth, width, height) ||
        !readArea(display, pixmap, {0, 0, width, height}, attributes.visual, image.picture,
                  whyNot)) {
        return false;
    }
    const int left = pixmapOrigin(windowX, attributes.width, width);
    const int top = pixmapOrigin(windowY, attributes.height, height);
    image.onRoot = {left, top, left + width, top + height};
    image.cutToWindow = true;
    return true;
}

// The wallpaper, from the first of the root's two properties that names a pixmap there is;
// whyNot is set only when its memory cannot be had.
bool readWallpaper(Display* display, DesktopImage& image, std::string& whyNot) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const int rootWidth = DisplayWidth(display, screen);
    const int rootHeight = DisplayHeight(display, screen);
    for (const char* property : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"}) {
        const Pixmap pixmap = pixmapProperty(display, root, property);
        int width = 0;
        int height = 0;
        RgbPicture piece;
        std::string unreadable; // a pixmap freed meanwhile: the next property may name another
        // Only the part from the origin that the root shows is read: the rest never shows.
        if (pixmap == 0 ||
            !pixmapSize(display, pixmap, DefaultDepth(display, screen), width, height) ||
            !readArea(display, pixmap,
                      {0, 0, std::min(width, rootWidth), std::min(height, rootHeight)},
                      DefaultVisual(display, screen), piece, unreadable)) {
            continue;
        }
        if (!tilePicture(piece, rootWidth, rootHeight, image.picture)) {
            whyNot = "no memory for the desktop picture";
            return false;
        }
        image.onRoot = {0, 0, rootWidth, rootHeight};
        image.cutToWindow = true;
        return true;
    }
    return false;
}

} // namespace

bool readDesktopPicture(Display* display, Window handedOver, const ScreenShape& shape,
                        DesktopImage& image, std::string& whyNot) {
    if (!grabDesktopImages(std::getenv("HOME"))) {
        whyNot = "desktop grabbing is off (grabDesktopImages in ~/.xscreensaver)";
        return false;
    }
    // A screenshot of one colour is what the monitor showed; only the root can be a blank cover.
    if (handedOver != 0 && readScreenshot(display, handedOver, image, whyNot)) {
        return true;
    }
    const int screen = DefaultScreen(display);
    const Area whole = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    if (!readArea(display, RootWindow(display, screen), whole, DefaultVisual(display, screen),
                  image.picture, whyNot)) {
        return false;
    }
    if (!isOneColour(image.picture)) {
        image.onRoot = {0, 0, whole.width, whole.height};
        image.cutToWindow = false;
        return true;
    }
    // Standalone, nothing covered the screen before the program: one colour is the desktop's own
    // and shows when no wallpaper does. Under a daemon it is most likely the daemon's blank cover.
    RgbPicture oneColour = std::move(image.picture);
    std::string noMemory;
    if (readWallpaper(display, image, noMemory)) {
        return true;
    }
    if (!noMemory.empty()) {
        whyNot = noMemory;
        return false;
    }
    std::string noFile;
    if (readWallpaperFile(shape, image, noFile)) {
        return true;
    }
    if (handedOver == 0) {
        image.picture = std::move(oneColour);
        image.onRoot = {0, 0, whole.width, whole.height};
        image.cutToWindow = false;
        return true;
    }
    whyNot = "no screenshot, the screen is one colour and " + noFile;
    return false;
}
