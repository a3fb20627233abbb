// JPEG files through libjpeg, whose errors arrive through a longjmp back into readJpeg.
#include "imaging/picture_files.h"

#include "textures/picture_size.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// Beyond this libjpeg refuses to work (a progressive picture holds all its coefficients).
constexpr long kMaxJpegMemory = 384L * 1024 * 1024;

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failWith(j_common_ptr info, const char* message) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    std::longjmp(errors->back, 1);
}

void jpegFailed(j_common_ptr info) {
    const int code = info->err->msg_code;
    if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE) {
        failWith(info, kNoMemoryForPicture);
    }
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    failWith(info, message);
}

// A file that ends before its last scanline is refused: libjpeg would show grey for the rest.
// Other warnings (a stray byte between markers, say) are let through unprinted, and the decoder
// goes on.
void jpegMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        failWith(info, "the pixels are cut short");
    }
}

// The largest of 1/8, 1/4 and 1/2 that leaves both sides at or above the working size chosen
// from the full size; else full size.
void chooseScale(jpeg_decompress_struct& info, TextureSize texture) {
    if (texture.width <= 0 || texture.height <= 0) {
        return;
    }
    const int32_t width = static_cast<int32_t>(info.image_width);
    const int32_t height = static_cast<int32_t>(info.image_height);
    const uint32_t workingWidth = static_cast<uint32_t>(chooseWorkingSide(width, texture.width));
    const uint32_t workingHeight = static_cast<uint32_t>(chooseWorkingSide(height, texture.height));
    info.scale_num = 1;
    for (unsigned denominator = 8; denominator > 1; denominator /= 2) {
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= workingWidth && info.output_height >= workingHeight) {
            return;
        }
    }
    info.scale_denom = 1;
}

// Everything between setjmp and the last libjpeg call lives here, in plain C objects only, so
// that the longjmp skips no destructor.
bool decode(std::FILE* file, RgbPicture& image, JpegErrors& errors, TextureSize texture) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    errors.manager.emit_message = jpegMessage;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!pictureSizeAllowed(info.image_width, info.image_height)) {
        failWith(reinterpret_cast<j_common_ptr>(&info), "the picture is too large");
    }
    info.out_color_space = JCS_RGB;
    chooseScale(info, texture);
    jpeg_start_decompress(&info);
    if (!allocatePicture(image, static_cast<int32_t>(info.output_width),
                         static_cast<int32_t>(info.output_height))) {
        failWith(reinterpret_cast<j_common_ptr>(&info), kNoMemoryForPicture);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &image.rgb[3 * static_cast<size_t>(info.output_scanline) * image.width];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool readJpeg(const std::string& path, RgbPicture& image, std::string& error, TextureSize texture) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot open the file";
        return false;
    }
    JpegErrors errors = {};
    const bool decoded = decode(file, image, errors, texture);
    std::fclose(file);
    if (!decoded) {
        error = path + ": " + errors.message;
        image = RgbPicture();
    }
    return decoded;
}
