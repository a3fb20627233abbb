// OffscreenGl on OSMesa, and the two seams of the core that the offscreen host fills: presenting
// a frame and asking for the current context. They live here, beside the only context the tests
// and tools draw into, so that anything drawing offscreen links them.
#include "support/offscreen_gl.h"

#include "scene/frame.h"
#include "support/png_writer.h"
#include "textures/current_gl_context.h"

#include <GL/osmesa.h>

// Rendering is offscreen, so the finished image is the frame.
void presentFrame(void*) {
    glFinish();
}

bool hasCurrentGlContext() {
    return OSMesaGetCurrentContext() != nullptr;
}

OffscreenGl::OffscreenGl(int width, int height)
    : buffer_(static_cast<size_t>(width) * height * 4), width_(width), height_(height) {
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

bool OffscreenGl::writePng(const std::string& path) const {
    glFinish();
    std::vector<uint8_t> rgb(static_cast<size_t>(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const OffscreenRgb p = pixelFromTop(x, y);
            uint8_t* out = &rgb[(static_cast<size_t>(y) * width_ + x) * 3];
            out[0] = p.red;
            out[1] = p.green;
            out[2] = p.blue;
        }
    }
    return writePngRgb(path, width_, height_, rgb);
}
