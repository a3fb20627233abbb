// JPEG files through libjpeg, whose errors arrive through a longjmp back into readJpeg.
#include "imaging/picture_files.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

// Warnings (a file cut short is one) are not printed: the decoder goes on with what it has.
void jpegWarned(j_common_ptr) {}

void jpegFailed(j_common_ptr info) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->back, 1);
}

// Everything between setjmp and the last libjpeg call lives here, in plain C objects only, so
// that the longjmp skips no destructor.
bool decode(std::FILE* file, RgbPicture& image, JpegErrors& errors) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    errors.manager.output_message = jpegWarned;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxPictureSide || info.image_height > kMaxPictureSide) {
        std::snprintf(errors.message, sizeof errors.message, "the picture is too large");
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.rgb.resize(3 * static_cast<size_t>(image.width) * image.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &image.rgb[3 * static_cast<size_t>(info.output_scanline) * image.width];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool readJpeg(const std::string& path, RgbPicture& image, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot open the file";
        return false;
    }
    JpegErrors errors = {};
    const bool decoded = decode(file, image, errors);
    std::fclose(file);
    if (!decoded) {
        error = path + ": " + errors.message;
        image = RgbPicture();
    }
    return decoded;
}
