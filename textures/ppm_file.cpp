// The PPM reader: the header's three numbers, comments between them, then the raw pixels.
#include "textures/ppm_file.h"

#include "textures/source_picture.h"

#include <fstream>

namespace {

bool readNumber(std::istream& in, int& value) {
    in >> std::ws;
    while (in.peek() == '#') {
        in.ignore(1 << 20, '\n');
        in >> std::ws;
    }
    return static_cast<bool>(in >> value);
}

} // namespace

bool readPpmFile(const std::string& path, RgbPicture& picture, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be opened";
        return false;
    }
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    if (!(in >> magic) || magic != "P6" || !readNumber(in, width) || !readNumber(in, height) ||
        !readNumber(in, maximum) || maximum != 255 || width <= 0 || height <= 0 ||
        width > kMaxSourcePictureSide || height > kMaxSourcePictureSide) {
        error = path + ": not a binary 8-bit PPM file";
        return false;
    }
    in.get(); // the one whitespace byte before the pixels
    picture.rgb.assign(3 * static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    if (!in.read(reinterpret_cast<char*>(picture.rgb.data()),
                 static_cast<std::streamsize>(picture.rgb.size()))) {
        error = path + ": the pixels are cut short";
        picture = RgbPicture();
        return false;
    }
    picture.width = width;
    picture.height = height;
    return true;
}
