// Buffer sizes for scaled outputs.
#include "native/layout/surface_scale.h"

#include <algorithm>

SurfaceBuffer surfaceBuffer(int width, int height, int outputScale, uint32_t fractionalScale120) {
    if (fractionalScale120 > 0) {
        // Rounded half away from zero, as the fractional-scale protocol asks.
        const auto scaled = [fractionalScale120](int side) {
            return static_cast<int>((static_cast<int64_t>(side) * fractionalScale120 + 60) / 120);
        };
        return {std::max(scaled(width), 1), std::max(scaled(height), 1), 1, true};
    }
    const int scale = std::max(outputScale, 1);
    return {width * scale, height * scale, scale, false};
}
