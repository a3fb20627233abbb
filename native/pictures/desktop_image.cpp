// Tiling a wallpaper over the screen.
#include "native/pictures/desktop_image.h"

#include "imaging/picture_files.h"

#include <algorithm>
#include <cstring>

bool tilePicture(const RgbPicture& piece, int width, int height, RgbPicture& picture) {
    if (!allocatePicture(picture, width, height)) {
        return false;
    }
    const size_t pieceRow = 3 * static_cast<size_t>(piece.width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = &piece.rgb[(y % piece.height) * pieceRow];
        uint8_t* out = &picture.rgb[3 * static_cast<size_t>(y) * width];
        for (int x = 0; x < width; x += piece.width) {
            const size_t pixels = static_cast<size_t>(std::min(piece.width, width - x));
            std::memcpy(out + 3 * static_cast<size_t>(x), from, 3 * pixels);
        }
    }
    return true;
}

bool coverRect(DesktopImage& image, const ScreenRect& rect) {
    const bool empty = image.picture.width <= 0 || image.picture.height <= 0;
    const ScreenRect& old = image.onRoot;
    const ScreenRect all =
        empty ? rect
              : ScreenRect{std::min(old.left, rect.left), std::min(old.top, rect.top),
                           std::max(old.right, rect.right), std::max(old.bottom, rect.bottom)};
    if (!empty && all.left == old.left && all.top == old.top && all.right == old.right &&
        all.bottom == old.bottom) {
        return true;
    }
    RgbPicture wider;
    if (!allocatePicture(wider, all.right - all.left, all.bottom - all.top)) {
        return false;
    }
    const size_t row = 3 * static_cast<size_t>(image.picture.width);
    for (int y = 0; !empty && y < image.picture.height; ++y) {
        const size_t at = 3 * (static_cast<size_t>(old.top - all.top + y) * wider.width +
                               static_cast<size_t>(old.left - all.left));
        std::memcpy(&wider.rgb[at], &image.picture.rgb[row * y], row);
    }
    image.picture = std::move(wider);
    image.onRoot = all;
    return true;
}
