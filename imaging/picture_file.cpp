// Choosing the reader for a picture file by its first bytes.
#include "imaging/picture_files.h"

#include <cstring>
#include <fstream>

bool readPicture(const std::string& path, RgbPicture& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the file";
        return false;
    }
    char start[8] = {};
    in.read(start, sizeof start);
    if (std::memcmp(start, "\x89PNG\r\n\x1a\n", 8) == 0) {
        return readPng(path, image, error);
    } else if (std::memcmp(start, "\xff\xd8\xff", 3) == 0) {
        return readJpeg(path, image, error);
    } else if (std::memcmp(start, "P6", 2) == 0) {
        return readPpm(path, image, error);
    }
    error = path + ": not a PNG, JPEG or binary PPM file";
    return false;
}
