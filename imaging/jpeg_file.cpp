// JPEG files through libjpeg, whose errors arrive through a longjmp back into readJpeg.
#include "imaging/picture_files.h"

#include "textures/picture_size.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// A component's blocks, rounded up to whole units of its sampling factor (4 at most), never
// reach more than 31 pixels past a side: one 16-bit coefficient each pixel then covers them.
constexpr uint64_t kCoefficientPadding = 8 * MAX_SAMP_FACTOR - 1;
// Row buffers, a few rows of each component at full width (measured below 16 bytes a pixel of
// the width), and tables of some tens of kilobytes: each given twice that or more.
constexpr uint64_t kRowBufferBytesPerPixel = 32;
constexpr uint64_t kTableBytes = 1024 * 1024;
// libjpeg turns pictures of one or three components into RGB, and no others.
constexpr uint64_t kColourComponents = 3;

constexpr uint64_t jpegMemoryNeed(uint64_t width, uint64_t height, uint64_t components) {
    const uint64_t coefficients =
        (width + kCoefficientPadding) * (height + kCoefficientPadding) * sizeof(JCOEF);
    return components * (coefficients + width * kRowBufferBytesPerPixel) + kTableBytes;
}

// Within the pixel cap the need is largest where the sides sum the most: the widest picture.
constexpr uint64_t kMaxJpegMemory =
    jpegMemoryNeed(kMaxPictureSide, kMaxPicturePixels / kMaxPictureSide, kColourComponents);

const char kPictureNeedsTooMuchMemory[] =
    "the picture needs more memory than the program allows for a picture";

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
    if (code == JERR_OUT_OF_MEMORY) {
        failWith(info, kNoMemoryForPicture);
    }
    // libjpeg asks for backing store only when the picture needs more than its limit.
    if (code == JERR_NO_BACKING_STORE) {
        failWith(info, kPictureNeedsTooMuchMemory);
    }
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    failWith(info, message);
}

// A scan whose data ends before its last scanline is refused: libjpeg would pad the rest with
// grey, a picture of any size from a few bytes. It ends so at the end of the file (where the
// source inserts an end of image) or at any marker but a restart marker. Data damaged inside a
// restart interval runs into the next restart marker early: libjpeg pads that interval alone and
// decodes the rest, so the picture is shown. A progressive picture that ends cleanly after whole
// scans raises neither warning, and is shown as coarse as its scans make it. Other warnings (a
// stray byte between markers, say) are let through unprinted, and the decoder goes on.
void jpegMessage(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level >= 0) {
        return;
    }
    // The entropy decoder keeps the marker it ran into before it warns.
    const int marker = reinterpret_cast<j_decompress_ptr>(info)->unread_marker;
    const bool atRestart = marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7;
    if (code == JWRN_JPEG_EOF || (code == JWRN_HIT_MARKER && !atRestart)) {
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
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!pictureSizeAllowed(info.image_width, info.image_height)) {
        failWith(reinterpret_cast<j_common_ptr>(&info), "the picture is too large");
    }
    // libjpeg has refused more than MAX_COMPONENTS already, and the sides are within the cap.
    info.mem->max_memory_to_use = static_cast<long>(jpegMemoryLimit(
        static_cast<uint16_t>(info.image_width), static_cast<uint16_t>(info.image_height),
        static_cast<uint8_t>(info.num_components)));
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

uint64_t jpegMemoryLimit(uint16_t width, uint16_t height, uint8_t components) {
    return std::min(jpegMemoryNeed(width, height, components), kMaxJpegMemory);
}

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
