// WebpAnimation on WebPAnimEncoder.
#include "imaging/webp_animation.h"

#include <cstdio>

#include <webp/encode.h>
#include <webp/mux.h>

WebpAnimation::WebpAnimation(int width, int height) : width_(width), height_(height) {
    WebPAnimEncoderOptions options;
    if (width > 0 && height > 0 && WebPAnimEncoderOptionsInit(&options)) {
        encoder_ = WebPAnimEncoderNew(width, height, &options);
    }
}

WebpAnimation::~WebpAnimation() {
    if (encoder_) {
        WebPAnimEncoderDelete(encoder_);
    }
}

bool WebpAnimation::addFrame(const RgbPicture& frame, int timestampMs, std::string& error) {
    if (!encoder_ || frame.width != width_ || frame.height != height_ ||
        frame.rgb.size() != 3 * static_cast<size_t>(width_) * height_) {
        error = "a frame of the wrong size for the animation";
        return false;
    }
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) {
        error = "libwebp does not match its headers";
        return false;
    }
    picture.width = width_;
    picture.height = height_;
    picture.use_argb = 1;
    bool added = WebPPictureImportRGB(&picture, frame.rgb.data(), 3 * width_) &&
                 WebPAnimEncoderAdd(encoder_, &picture, timestampMs, &config);
    WebPPictureFree(&picture);
    if (!added) {
        const char* message = WebPAnimEncoderGetError(encoder_);
        error =
            std::string("cannot encode a frame: ") + (message && *message ? message : "no memory");
    }
    return added;
}

bool WebpAnimation::write(const std::string& path, int endMs, std::string& error) {
    WebPData data;
    WebPDataInit(&data);
    if (!encoder_ || !WebPAnimEncoderAdd(encoder_, nullptr, endMs, nullptr) ||
        !WebPAnimEncoderAssemble(encoder_, &data)) {
        error = path + ": cannot assemble the animation";
        return false;
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    bool written = out && std::fwrite(data.bytes, 1, data.size, out) == data.size;
    if (out && std::fclose(out) != 0) {
        written = false;
    }
    WebPDataClear(&data);
    if (!written) {
        error = path + ": cannot write the file";
    }
    return written;
}
