// Stretching a decoded picture into the source picture buffer.
#include "textures/rgb_picture.h"

#include "settings/saver_settings.h"
#include "textures/picture_size.h"
#include "textures/source_picture.h"

#include <algorithm>
#include <cstring>

namespace {

// The picture's area (in its pixels) stretched into target at target's working size: a
// monitor's rectangle of a picture of the whole screen. What of the area lies outside the
// picture, as a monitor added after the picture was read does, is black.
bool stretchPartIntoSourcePicture(const RgbPicture& picture, const ScreenRect& area,
                                  SourcePicture& target) {
    const int32_t width = picture.width;
    const int32_t height = picture.height;
    const int64_t partWidth = int64_t{area.right} - area.left;
    const int64_t partHeight = int64_t{area.bottom} - area.top;
    if (width <= 0 || height <= 0 || partWidth <= 0 || partHeight <= 0 ||
        picture.rgb.size() < 3 * static_cast<size_t>(width) * static_cast<size_t>(height) ||
        !allocateSourcePixels(target)) {
        freeSourcePixels(target);
        return false;
    }
    for (int32_t y = 0; y < target.height; ++y) {
        const int64_t fromY = area.top + static_cast<int64_t>(y) * partHeight / target.height;
        uint8_t* out = &target.pixels[3 * static_cast<size_t>(y) * target.width];
        for (int32_t x = 0; x < target.width; ++x, out += 3) {
            const int64_t fromX = area.left + static_cast<int64_t>(x) * partWidth / target.width;
            if (fromX < 0 || fromX >= width || fromY < 0 || fromY >= height) {
                out[0] = out[1] = out[2] = 0;
                continue;
            }
            const uint8_t* p = &picture.rgb[3 * static_cast<size_t>(fromY * width + fromX)];
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    }
    return true;
}

} // namespace

bool stretchIntoSourcePicture(const RgbPicture& picture) {
    return stretchPartIntoSourcePicture(picture, {0, 0, picture.width, picture.height},
                                        sourcePicture);
}

bool prepareCustomPicture(const RgbPicture& picture) {
    sourcePicture.width = chooseWorkingSide(picture.width, saverSettings.textureWidth);
    sourcePicture.height = chooseWorkingSide(picture.height, saverSettings.textureHeight);
    return stretchIntoSourcePicture(picture);
}

bool cutMonitorPictures(const RgbPicture& screen, const MonitorList& monitors,
                        const ScreenRect& screenRect) {
    const int64_t rectWidth = std::max(screenRect.right - screenRect.left, 1);
    const int64_t rectHeight = std::max(screenRect.bottom - screenRect.top, 1);
    const auto toPictureX = [&](int32_t x) {
        return static_cast<int32_t>((int64_t{x} - screenRect.left) * screen.width / rectWidth);
    };
    const auto toPictureY = [&](int32_t y) {
        return static_cast<int32_t>((int64_t{y} - screenRect.top) * screen.height / rectHeight);
    };
    for (int32_t i = 0; i < monitors.count; ++i) {
        const ScreenRect& m = monitors.monitors[i];
        const ScreenRect area = {toPictureX(m.left), toPictureY(m.top), toPictureX(m.right),
                                 toPictureY(m.bottom)};
        sourcePictures[i].width = saverSettings.textureWidth;
        sourcePictures[i].height = saverSettings.textureHeight;
        if (!stretchPartIntoSourcePicture(screen, area, sourcePictures[i])) {
            freeSourcePixels();
            return false;
        }
    }
    return true;
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
