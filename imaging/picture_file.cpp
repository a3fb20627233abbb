// Choosing the reader for a picture file by its first bytes, and the limits every reader keeps.
#include "imaging/picture_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

const char kNoMemoryForPicture[] = "no memory for the picture";

bool pictureSizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

bool allocatePicture(RgbPicture& image, int32_t width, int32_t height) {
    image = RgbPicture();
    try {
        image.rgb.assign(3 * static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    image.width = width;
    image.height = height;
    return true;
}

bool readPicture(const std::string& path, RgbPicture& image, std::string& error,
                 TextureSize texture) {
    // A folder opens as a stream on Linux and reads as nothing: it would pass for an empty file.
    std::error_code unknown;
    if (std::filesystem::is_directory(path, unknown)) {
        error = path + ": a folder, not a picture file";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the file" +
                (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    char start[8] = {};
    in.read(start, sizeof start);
    if (in.gcount() == 0) {
        error = path + ": the file is empty";
        return false;
    }
    if (std::memcmp(start, "\x89PNG\r\n\x1a\n", 8) == 0) {
        return readPng(path, image, error);
    } else if (std::memcmp(start, "\xff\xd8\xff", 3) == 0) {
        return readJpeg(path, image, error, texture);
    } else if (std::memcmp(start, "P6", 2) == 0) {
        return readPpm(path, image, error);
    }
    error = path + ": not a PNG, JPEG or binary PPM file";
    return false;
}
