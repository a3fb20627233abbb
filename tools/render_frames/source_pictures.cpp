// The generated test picture of render_frames.
#include "source_pictures.h"

#include "imaging/picture_files.h"

#include <cstdlib>

namespace {

constexpr int kGridSpacing = 32;

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Six bars: red, yellow, green, cyan, blue, magenta.
Rgb barColour(int x, int width) {
    const Rgb bars[] = {{220, 40, 40},  {230, 210, 40}, {40, 190, 60},
                        {40, 200, 210}, {50, 70, 220},  {200, 50, 200}};
    return bars[x * 6 / width];
}

void put(RgbPicture& picture, int x, int y, Rgb colour) {
    uint8_t* p = &picture.rgb[3 * (static_cast<size_t>(y) * picture.width + x)];
    p[0] = colour.red;
    p[1] = colour.green;
    p[2] = colour.blue;
}

} // namespace

RgbPicture makeTestPicture(int32_t width, int32_t height) {
    RgbPicture picture;
    if (!allocatePicture(picture, width, height)) {
        return picture;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb colour = barColour(x, width);
            if (x % kGridSpacing == 0 || y % kGridSpacing == 0) {
                colour = {255, 255, 255};
            }
            if (std::abs(x * height - y * width) < 2 * width) {
                colour = {20, 20, 20};
            }
            put(picture, x, y, colour);
        }
    }
    return picture;
}
