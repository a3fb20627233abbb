// Scaling, centring, cropping or tiling the wallpaper into each monitor's rectangle.
#include "native/wallpaper/wallpaper_placement.h"

#include "imaging/picture_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Where the picture's top-left corner lands on the screen along one side, and how many screen
// pixels one of its pixels takes.
struct Axis {
    double origin;
    double scale;
};

// The picture's pixel shown at each screen pixel from first to last (exclusive) along one side,
// or -1 for none.
std::vector<int> sourcePixels(const Axis& axis, int pictureSide, bool tiled, int first, int last) {
    std::vector<int> pixels;
    pixels.reserve(static_cast<size_t>(std::max(0, last - first)));
    for (int at = first; at < last; ++at) {
        const double along = (at + 0.5 - axis.origin) / axis.scale;
        int pixel = static_cast<int>(std::floor(along));
        if (tiled) {
            pixel = ((pixel % pictureSide) + pictureSide) % pictureSide;
        } else if (along < 0 || along >= pictureSide) {
            pixel = -1;
        }
        pixels.push_back(std::min(pixel, pictureSide - 1));
    }
    return pixels;
}

// How the picture lies over the area one monitor's wallpaper is fitted to, along x and y.
void fitInto(const ScreenRect& area, int width, int height, WallpaperFit fit, Axis& x, Axis& y) {
    const double areaWidth = area.right - area.left;
    const double areaHeight = area.bottom - area.top;
    double scaleX = areaWidth / width;
    double scaleY = areaHeight / height;
    if (fit == WallpaperFit::kZoom || fit == WallpaperFit::kSpanned) {
        scaleX = scaleY = std::max(scaleX, scaleY);
    } else if (fit == WallpaperFit::kScaled) {
        scaleX = scaleY = std::min(scaleX, scaleY);
    } else if (fit == WallpaperFit::kCentered || fit == WallpaperFit::kTiled) {
        scaleX = scaleY = 1;
    }
    const bool fromCorner = fit == WallpaperFit::kTiled;
    // Whole pixels for a picture at its own size, so that it stays sharp.
    const double spareX = fromCorner ? 0 : (areaWidth - width * scaleX) / 2;
    const double spareY = fromCorner ? 0 : (areaHeight - height * scaleY) / 2;
    x = {area.left + (scaleX == 1 ? std::floor(spareX) : spareX), scaleX};
    y = {area.top + (scaleY == 1 ? std::floor(spareY) : spareY), scaleY};
}

void drawMonitor(const RgbPicture& wallpaper, WallpaperFit fit, const ScreenRect& monitor,
                 const ScreenRect& area, RgbPicture& placed) {
    const int left = std::max(monitor.left, 0);
    const int top = std::max(monitor.top, 0);
    const int right = std::min(monitor.right, placed.width);
    const int bottom = std::min(monitor.bottom, placed.height);
    if (left >= right || top >= bottom) {
        return;
    }
    Axis x{};
    Axis y{};
    fitInto(area, wallpaper.width, wallpaper.height, fit, x, y);
    const bool tiled = fit == WallpaperFit::kTiled;
    const std::vector<int> columns = sourcePixels(x, wallpaper.width, tiled, left, right);
    const std::vector<int> rows = sourcePixels(y, wallpaper.height, tiled, top, bottom);
    for (int row = top; row < bottom; ++row) {
        uint8_t* out = &placed.rgb[3 * (static_cast<size_t>(row) * placed.width + left)];
        const int from = rows[static_cast<size_t>(row - top)];
        for (const int column : columns) {
            if (from >= 0 && column >= 0) {
                std::memcpy(
                    out, &wallpaper.rgb[3 * (static_cast<size_t>(from) * wallpaper.width + column)],
                    3);
            } else {
                std::memset(out, 0, 3);
            }
            out += 3;
        }
    }
}

} // namespace

bool placeWallpaper(const RgbPicture& wallpaper, WallpaperFit fit, const ScreenShape& screen,
                    RgbPicture& placed, std::string& whyNot) {
    if (screen.width <= 0 || screen.height <= 0 ||
        !pictureSizeAllowed(static_cast<uint64_t>(screen.width),
                            static_cast<uint64_t>(screen.height))) {
        whyNot = "the screen (" + std::to_string(screen.width) + "x" +
                 std::to_string(screen.height) + ") is too large for a wallpaper picture";
        return false;
    }
    if (wallpaper.width <= 0 || wallpaper.height <= 0) {
        whyNot = "the wallpaper picture is empty";
        return false;
    }
    if (!allocatePicture(placed, screen.width, screen.height)) {
        whyNot = "no memory for the desktop picture";
        return false;
    }
    MonitorList monitors = screen.monitors;
    if (monitors.count == 0) {
        addMonitor(monitors, {0, 0, screen.width, screen.height}, true);
    }
    const ScreenRect spanned = virtualScreen(monitors);
    for (int32_t i = 0; i < monitors.count; ++i) {
        const ScreenRect& monitor = monitors.monitors[i];
        drawMonitor(wallpaper, fit, monitor, fit == WallpaperFit::kSpanned ? spanned : monitor,
                    placed);
    }
    return true;
}
