// The generated test picture and the PPM reader of render_frames.
#include "source_pictures.h"

#include "textures/source_picture.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

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

bool readToken(std::istream& in, int& value) {
    in >> std::ws;
    while (in.peek() == '#') {
        in.ignore(1 << 20, '\n');
        in >> std::ws;
    }
    return static_cast<bool>(in >> value);
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

bool loadPpmPicture(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    if (!in || !(in >> magic) || magic != "P6" || !readToken(in, width) || !readToken(in, height) ||
        !readToken(in, maximum) || maximum != 255 || width <= 0 || height <= 0 || width > 16384 ||
        height > 16384) {
        error = path + ": not a binary 8-bit PPM file";
        return false;
    }
    in.get(); // the one whitespace byte before the pixels
    std::vector<uint8_t> rgb(3 * static_cast<size_t>(width) * height);
    if (!in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()))) {
        error = path + ": the pixels are cut short";
        return false;
    }
    if (!allocateSourcePixels()) {
        error = "no memory for the source picture";
        return false;
    }
    // Nearest pixel, each direction scaled on its own.
    for (int y = 0; y < sourcePicture.height; ++y) {
        const int fromY = static_cast<int>(static_cast<int64_t>(y) * height / sourcePicture.height);
        for (int x = 0; x < sourcePicture.width; ++x) {
            const int fromX =
                static_cast<int>(static_cast<int64_t>(x) * width / sourcePicture.width);
            const uint8_t* p = &rgb[3 * (static_cast<size_t>(fromY) * width + fromX)];
            put(x, y, {p[0], p[1], p[2]});
        }
    }
    return true;
}
