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
