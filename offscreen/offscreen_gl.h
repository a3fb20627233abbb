// An OSMesa context for the tests, tools and benchmarks: draws into memory, needs no display and
// no GPU.
#pragma once

#include "common/gl.h"
#include "imaging/picture_files.h"

#include <cstdint>
#include <string>
#include <vector>

struct OffscreenRgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Creates an RGBA context with a 16-bit depth buffer and makes it current on this thread for
// its lifetime. Pixel (0, 0) is the window's bottom-left corner, as in OpenGL.
class OffscreenGl {
public:
    OffscreenGl(int width, int height);
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    bool ready() const { return ready_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The pixel at column x and row y counted from the top, as a screenshot shows it.
    OffscreenRgb pixelFromTop(int x, int y) const;

    // The current image, top row first.
    RgbPicture image() const;

    // Writes the current image as a PNG file. Returns false, with a message, when it cannot.
    bool writePng(const std::string& path, std::string& error) const;

private:
    void* context_ = nullptr;
    std::vector<uint8_t> buffer_;
    int width_;
    int height_;
    bool ready_ = false;
};
