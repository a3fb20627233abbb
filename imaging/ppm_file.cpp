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

// The bytes from the reading position to the end of the file; the position stays.
uint64_t bytesLeft(std::istream& in) {
    const std::streampos here = in.tellg();
    in.seekg(0, std::ios::end);
    const std::streamoff left = in.tellg() - here;
    in.seekg(here);
    return left > 0 ? static_cast<uint64_t>(left) : 0;
}

} // namespace

bool readPpm(const std::string& path, RgbPicture& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    if (!in || !(in >> magic) || magic != "P6" || !readToken(in, width) || !readToken(in, height) ||
        !readToken(in, maximum) || maximum != 255 || width <= 0 || height <= 0) {
        error = path + ": not a binary 8-bit PPM file";
        return false;
    }
    if (!pictureSizeAllowed(width, height)) {
        error = path + ": the picture is too large";
        return false;
    }
    in.get(); // the one whitespace byte before the pixels
    const uint64_t bytes = 3 * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (bytesLeft(in) < bytes) {
        error = path + ": the pixels are cut short";
        return false;
    }
    if (!allocatePicture(image, width, height)) {
        error = path + ": " + kNoMemoryForPicture;
        return false;
    }
    if (!in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(bytes))) {
        error = path + ": the pixels are cut short";
        image = RgbPicture();
        return false;
    }
    return true;
}
