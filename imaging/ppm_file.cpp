// Binary PPM files (P6, 8-bit), read by hand: a short text header, then raw RGB rows.
#include "imaging/picture_files.h"

#include <fstream>

namespace {

bool readToken(std::istream& in, int& value) {
    in >> std::ws;
    while (in.peek() == '#') {
        in.ignore(1 << 20, '\n');
        in >> std::ws;
    }
    return static_cast<bool>(in >> value);
}

} // namespace

bool readPpm(const std::string& path, RgbPicture& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    if (!in || !(in >> magic) || magic != "P6" || !readToken(in, width) || !readToken(in, height) ||
        !readToken(in, maximum) || maximum != 255 || width <= 0 || height <= 0 ||
        width > kMaxPictureSide || height > kMaxPictureSide) {
        error = path + ": not a binary 8-bit PPM file";
        return false;
    }
    in.get(); // the one whitespace byte before the pixels
    image.width = width;
    image.height = height;
    image.rgb.resize(3 * static_cast<size_t>(width) * height);
    if (!in.read(reinterpret_cast<char*>(image.rgb.data()),
                 static_cast<std::streamsize>(image.rgb.size()))) {
        error = path + ": the pixels are cut short";
        image = RgbPicture();
        return false;
    }
    return true;
}
