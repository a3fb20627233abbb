// The source picture buffer: the desktop or a picture file, waiting to become a texture.
#pragma once

#include "common/monitor_layout.h"

#include <cstdint>
#include <memory>

// width x height pixels of three bytes (blue, green, red), top row first, rows unpadded.
// Filled by the window thread while the saver window is created, before the render thread
// exists; the render thread uploads and frees it, or the window thread frees it when no render
// thread will start. Nobody else touches it.
struct SourcePicture {
    std::unique_ptr<uint8_t[]> pixels; // null when no picture is held
    int32_t width = 0;
    int32_t height = 0;
};

// One picture per monitor for the Desktop source, matched to the viewports by order (the
// primary's first); every other source, and the preview, fills the first only.
extern SourcePicture sourcePictures[kMaxMonitors];

// The first picture: the picture file's, or the one desktop picture of a single screen.
extern SourcePicture& sourcePicture;

// The largest buffer a working size may ask for; a side of 16384 at most.
constexpr int32_t kMaxSourcePictureSide = 16384;

// Byte count of a width x height picture, or 0 when the size is not positive or too large.
uint64_t sourcePictureBytes(int32_t width, int32_t height);

// Replaces any held buffer with one for the picture's width x height. Returns false, holding no
// buffer, when the size is absurd or memory runs out. Without an argument: the first picture.
bool allocateSourcePixels(SourcePicture& picture);
bool allocateSourcePixels();

void freeSourcePixels(SourcePicture& picture);
// Without an argument: every monitor's picture, for a run that will upload none of them.
void freeSourcePixels();
