// The generated picture for the Desktop and Custom sources of render_frames.
#pragma once

#include "textures/rgb_picture.h"

#include <cstdint>

// A test picture of the given size: colour bars under a white grid of 32-pixel squares, with a
// dark diagonal, so that ripples show how they bend it. Empty when memory runs out.
RgbPicture makeTestPicture(int32_t width, int32_t height);
