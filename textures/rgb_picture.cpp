// Stretching a decoded picture into the source picture buffer.
#include "textures/rgb_picture.h"

#include "settings/saver_settings.h"
#include "textures/picture_size.h"
#include "textures/source_picture.h"

#include <algorithm>
#include <cstring>

bool stretchIntoSourcePicture(const RgbPicture& picture) {
    const int32_t width = picture.width;
    const int32_t height = picture.height;
    if (width <= 0 || height <= 0 ||
        picture.rgb.size() < 3 * static_cast<size_t>(width) * static_cast<size_t>(height) ||
        !allocateSourcePixels()) {
        freeSourcePixels();
        return false;
    }
    for (int32_t y = 0; y < sourcePicture.height; ++y) {
        const int64_t fromY = static_cast<int64_t>(y) * height / sourcePicture.height;
        uint8_t* out = &sourcePicture.pixels[3 * static_cast<size_t>(y) * sourcePicture.width];
        for (int32_t x = 0; x < sourcePicture.width; ++x, out += 3) {
            const int64_t fromX = static_cast<int64_t>(x) * width / sourcePicture.width;
            const uint8_t* p = &picture.rgb[3 * static_cast<size_t>(fromY * width + fromX)];
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    }
    return true;
}

void chooseWorkingSizeFor(const RgbPicture& picture) {
    sourcePicture.width = chooseWorkingSide(picture.width, saverSettings.textureWidth);
    sourcePicture.height = chooseWorkingSide(picture.height, saverSettings.textureHeight);
}

bool isOneColour(const RgbPicture& picture) {
    const size_t bytes = std::min(picture.rgb.size(), 3 * static_cast<size_t>(picture.width) *
                                                          static_cast<size_t>(picture.height));
    for (size_t i = 3; i + 3 <= bytes; i += 3) {
        if (std::memcmp(&picture.rgb[i], &picture.rgb[0], 3) != 0) {
            return false;
        }
    }
    return true;
}
