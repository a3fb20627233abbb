// PNG files through libpng's simplified interface, which reports errors in the image record.
#include "imaging/picture_files.h"

#include <png.h>

bool writePng(const std::string& path, const RgbPicture& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != 3 * static_cast<size_t>(image.width) * image.height) {
        error = path + ": no picture to write";
        return false;
    }
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        return false;
    }
    return true;
}

bool readPng(const std::string& path, RgbPicture& image, std::string& error) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = path + ": " + png.message;
        return false;
    }
    if (!pictureSizeAllowed(png.width, png.height)) {
        png_image_free(&png);
        error = path + ": the picture is too large";
        return false;
    }
    // Grey, palette, 16-bit and alpha pictures all come out as 8-bit RGB; alpha over black.
    png.format = PNG_FORMAT_RGB;
    if (!allocatePicture(image, static_cast<int32_t>(png.width),
                         static_cast<int32_t>(png.height))) {
        png_image_free(&png);
        error = path + ": " + kNoMemoryForPicture;
        return false;
    }
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        image = RgbPicture();
        return false;
    }
    return true;
}
