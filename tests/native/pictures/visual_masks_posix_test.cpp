#include "native/pictures/visual_masks.h"

#include <gtest/gtest.h>

namespace {

TEST(VisualMasks, FiveSixFiveAndEightEightEightReachTheFullRange) {
    const VisualMasks kRgb565 = {0xF800, 0x07E0, 0x001F};
    const VisualMasks kRgb888 = {0xFF0000, 0x00FF00, 0x0000FF};
    struct Case {
        VisualMasks masks;
        unsigned long pixel;
        int red, green, blue;
    };
    const Case cases[] = {
        {kRgb565, 0xFFFF, 255, 255, 255},
        {kRgb565, 0xF800, 255, 0, 0},
        {kRgb565, 0x07E0, 0, 255, 0},
        {kRgb565, 0x8410, 132, 130, 132}, // 16 of 31, 32 of 63, 16 of 31
        {kRgb888, 0xFFFFFF, 255, 255, 255},
        {kRgb888, 0x123456, 0x12, 0x34, 0x56},
        {{0, 0, 0}, 0xFFFFFF, 0, 0, 0}, // a visual without masks gives black, not a fault
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixel);
        const Rgb8 rgb = pixelToRgb8(c.pixel, c.masks);
        EXPECT_EQ(rgb.red, c.red);
        EXPECT_EQ(rgb.green, c.green);
        EXPECT_EQ(rgb.blue, c.blue);
    }
}

} // namespace
