// Scoring the pixel formats and choosing the best.
#include "host/pixel_format.h"

#include <cstddef>

namespace {

constexpr uint32_t kRequiredFlags = kPfdSupportOpenGl | kPfdDrawToWindow | kPfdDoubleBuffer;
constexpr int kDriverFormatBonus = 2000;
constexpr int kGenericAcceleratedBonus = 1000;
constexpr int kFullWeightColorBits = 16;

} // namespace

bool isPixelFormatCandidate(const PixelFormatDescription& format) {
    return format.pixelType == kPfdTypeRgba && (format.flags & kRequiredFlags) == kRequiredFlags;
}

int pixelFormatScore(const PixelFormatDescription& format) {
    const int color = format.colorBits;
    const int depth = format.depthBits;
    int score = color + 2 * depth;
    if (color > kFullWeightColorBits) {
        score += (kFullWeightColorBits - color) / 2; // truncates toward zero
    }
    if (!(format.flags & kPfdGenericFormat)) {
        score += kDriverFormatBonus; // the display driver's own OpenGL
    } else if (format.flags & kPfdGenericAccelerated) {
        score += kGenericAcceleratedBonus;
    }
    return score;
}

int bestPixelFormatIndex(const std::vector<PixelFormatDescription>& formats) {
    int bestIndex = 0;
    int bestScore = 0;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (!isPixelFormatCandidate(formats[i])) {
            continue;
        }
        const int score = pixelFormatScore(formats[i]);
        if (score > bestScore) {
            bestScore = score;
            bestIndex = static_cast<int>(i) + 1;
        }
    }
    return bestIndex;
}

PixelFormatDescription fallbackPixelFormatRequest() {
    return {kPfdDoubleBuffer | kPfdDrawToWindow | kPfdSupportOpenGl | kPfdGenericAccelerated,
            kPfdTypeRgba, 24, 16};
}
