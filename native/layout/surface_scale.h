// The buffer a surface of a configured size is drawn into on a scaled output: a compositor
// refuses (a protocol error) a commit whose size is not the configured one.
#pragma once

#include <cstdint>

struct SurfaceBuffer {
    int width = 0; // the pixels drawn
    int height = 0;
    int bufferScale = 1;   // for wl_surface.set_buffer_scale
    bool viewport = false; // a viewport's destination, the configured size, maps it back
};

// For a surface configured at width x height logical pixels on an output of the integer scale
// outputScale, or of fractionalScale120 / 120 when the compositor gave one (0 when not).
SurfaceBuffer surfaceBuffer(int width, int height, int outputScale, uint32_t fractionalScale120);
