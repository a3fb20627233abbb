#include "host/pixel_format.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kUsable = kPfdDoubleBuffer | kPfdDrawToWindow | kPfdSupportOpenGl;
constexpr uint32_t kGenericSoftware = kUsable | kPfdGenericFormat;
constexpr uint32_t kGenericAccelerated = kGenericSoftware | kPfdGenericAccelerated;

struct ScoreCase {
    PixelFormatDescription format;
    int score;
};

TEST(PixelFormat, ScoresOfTypicalFormats) {
    const ScoreCase cases[] = {
        {{kUsable, kPfdTypeRgba, 16, 16}, 2048},
        {{kUsable, kPfdTypeRgba, 32, 16}, 2056},
        {{kUsable, kPfdTypeRgba, 16, 24}, 2064},
        {{kUsable, kPfdTypeRgba, 32, 24}, 2072},
        {{kGenericAccelerated, kPfdTypeRgba, 32, 32}, 1088},
        {{kGenericSoftware, kPfdTypeRgba, 32, 32}, 88},
        {{kGenericSoftware, kPfdTypeRgba, 24, 0}, 20}, // 24 - 4
        {{kGenericSoftware, kPfdTypeRgba, 17, 0}, 17}, // (16 - 17) / 2 truncates to 0
        {{kGenericSoftware, kPfdTypeRgba, 8, 8}, 24},
    };
    for (const ScoreCase& c : cases) {
        EXPECT_EQ(pixelFormatScore(c.format), c.score)
            << int(c.format.colorBits) << " colour, " << int(c.format.depthBits) << " depth, flags "
            << c.format.flags;
    }
}

TEST(PixelFormat, OnlyDoubleBufferedRgbaWindowFormatsForOpenGlQualify) {
    EXPECT_TRUE(isPixelFormatCandidate({kUsable, kPfdTypeRgba, 32, 24}));
    EXPECT_FALSE(isPixelFormatCandidate({kUsable & ~kPfdDoubleBuffer, kPfdTypeRgba, 32, 24}));
    EXPECT_FALSE(isPixelFormatCandidate({kUsable & ~kPfdDrawToWindow, kPfdTypeRgba, 32, 24}));
    EXPECT_FALSE(isPixelFormatCandidate({kUsable & ~kPfdSupportOpenGl, kPfdTypeRgba, 32, 24}));
    EXPECT_FALSE(isPixelFormatCandidate({kUsable, 1 /* colour index */, 32, 24}));
}

TEST(PixelFormat, DriverFormatsBeatGenericOnesWhateverTheirPrecision) {
    const std::vector<PixelFormatDescription> formats = {
        {kGenericAccelerated, kPfdTypeRgba, 32, 32},
        {kUsable, kPfdTypeRgba, 8, 0},
        {kGenericSoftware, kPfdTypeRgba, 32, 32},
    };
    EXPECT_EQ(bestPixelFormatIndex(formats), 2);
}

TEST(PixelFormat, DepthOutweighsColour) {
    const std::vector<PixelFormatDescription> formats = {
        {kUsable, kPfdTypeRgba, 32, 16},
        {kUsable, kPfdTypeRgba, 16, 24},
    };
    EXPECT_EQ(bestPixelFormatIndex(formats), 2);
}

TEST(PixelFormat, EqualScoresKeepTheLowestIndex) {
    const std::vector<PixelFormatDescription> formats = {
        {kUsable & ~kPfdDoubleBuffer, kPfdTypeRgba, 32, 32},
        {kUsable, kPfdTypeRgba, 32, 16},
        {kUsable | 0x8000, kPfdTypeRgba, 32, 16},
        {kUsable, kPfdTypeRgba, 16, 16},
    };
    EXPECT_EQ(bestPixelFormatIndex(formats), 2);
}

TEST(PixelFormat, NothingQualifyingAsksTheSystemsChooser) {
    const std::vector<PixelFormatDescription> unusable = {
        {kUsable & ~kPfdDoubleBuffer, kPfdTypeRgba, 32, 24},
        {kUsable, 1, 8, 16},
        {kGenericSoftware, kPfdTypeRgba, 0, 0}, // qualifies, but scores nothing
    };
    EXPECT_EQ(bestPixelFormatIndex(unusable), 0);
    EXPECT_EQ(bestPixelFormatIndex({}), 0);

    const PixelFormatDescription request = fallbackPixelFormatRequest();
    EXPECT_EQ(request.flags, 0x1025u);
    EXPECT_EQ(request.pixelType, kPfdTypeRgba);
    EXPECT_EQ(request.colorBits, 24);
    EXPECT_EQ(request.depthBits, 16);
}

} // namespace
