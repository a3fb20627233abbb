// The generated test picture and the picture files of render_frames.
#include "source_pictures.h"

#include "imaging/picture_files.h"
#include "textures/rgb_picture.h"
#include "textures/source_picture.h"

#include <cstdint>
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

void put(int x, int y, Rgb colour) {
    uint8_t* p = &sourcePicture.pixels[3 * (static_cast<size_t>(y) * sourcePicture.width + x)];
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
}

} // namespace

bool makeTestPicture() {
    if (!allocateSourcePixels()) {
        return false;
    }
    const int width = sourcePicture.width;
    const int height = sourcePicture.height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb colour = barColour(x, width);
            if (x % kGridSpacing == 0 || y % kGridSpacing == 0) {
                colour = {255, 255, 255};
            }
            if (std::abs(x * height - y * width) < 2 * width) {
                colour = {20, 20, 20};
            }
            put(x, y, colour);
        }
    }
    return true;
}

bool loadPicture(const std::string& path, std::string& error) {
    RgbPicture picture;
    if (!readPicture(path, picture, error)) {
        return false;
    }
    if (!stretchIntoSourcePicture(picture)) {
        error = "no memory for the source picture";
        return false;
    }
    return true;
}
