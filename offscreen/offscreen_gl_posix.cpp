// OffscreenGl on OSMesa.
#include "offscreen/offscreen_gl.h"

#include <GL/osmesa.h>

#include <new>

// Without memory for the buffer, or for OSMesa's own, the context is simply not ready.
OffscreenGl::OffscreenGl(int width, int height) : width_(width), height_(height) {
    try {
        buffer_.resize(static_cast<size_t>(width) * height * 4);
    } catch (const std::bad_alloc&) {
        return;
    }
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    context_ = context;
    ready_ = context && OSMesaMakeCurrent(context, buffer_.data(), GL_UNSIGNED_BYTE, width, height);
}

OffscreenGl::~OffscreenGl() {
    if (context_) {
        OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
    }
}

OffscreenRgb OffscreenGl::pixelFromTop(int x, int y) const {
    glFinish();
    const uint8_t* p = &buffer_[(static_cast<size_t>(height_ - 1 - y) * width_ + x) * 4];
    return {p[0], p[1], p[2]};
}

RgbPicture OffscreenGl::image() const {
    glFinish();
    RgbPicture image;
    image.width = width_;
    image.height = height_;
    image.rgb.resize(static_cast<size_t>(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y) {
        const uint8_t* in = &buffer_[static_cast<size_t>(height_ - 1 - y) * width_ * 4];
        uint8_t* out = &image.rgb[static_cast<size_t>(y) * width_ * 3];
        for (int x = 0; x < width_; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    return image;
}

bool OffscreenGl::writePng(const std::string& path, std::string& error) const {
    return ::writePng(path, image(), error);
}
