// Choosing the saver window's pixel format: the scoring rule over the formats a device offers.
#pragma once

#include <cstdint>
#include <vector>

// Flag bits and the pixel type of the platform's format descriptions.
constexpr uint32_t kPfdDoubleBuffer = 0x0001;
constexpr uint32_t kPfdDrawToWindow = 0x0004;
constexpr uint32_t kPfdSupportOpenGl = 0x0020;
constexpr uint32_t kPfdGenericFormat = 0x0040;
constexpr uint32_t kPfdGenericAccelerated = 0x1000;
constexpr uint8_t kPfdTypeRgba = 0;

// The fields of a format description that take part in the choice.
struct PixelFormatDescription {
    uint32_t flags;
    uint8_t pixelType;
    uint8_t colorBits;
    uint8_t depthBits;
};

// An RGBA, double-buffered format that OpenGL can draw to a window with.
bool isPixelFormatCandidate(const PixelFormatDescription& format);

// Hardware acceleration outweighs everything; within one class depth bits count twice, and
// colour bits above 16 count half. Meaningful for candidates only.
int pixelFormatScore(const PixelFormatDescription& format);

// The 1-based index of the best candidate in formats (index 1 is formats[0]); among equal
// scores the lowest index wins. 0 when no candidate scores above 0.
int bestPixelFormatIndex(const std::vector<PixelFormatDescription>& formats);

// What to ask the system's own chooser for when no format qualifies: double-buffered,
// OpenGL, window, generic accelerated (0x1025), RGBA, 24 colour and 16 depth bits.
PixelFormatDescription fallbackPixelFormatRequest();
