#include "textures/picture_size.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

TEST(PictureSize, NextPowerOfTwoIsStrictlyAbove) {
    const struct {
        int32_t size;
        int32_t power;
    } cases[] = {
        {100, 128},
        {128, 256},
        {255, 256},
        {300, 512},
        {1, 2},
        {0, 2},
        {-5, 2},
        {kInt32Min, 2},
        {2, 4},
        {3, 4},
        {1023, 1024},
        {1024, 2048},
        {(1 << 30) - 1, 1 << 30},
        {1 << 30, kInt32Max},
        {kInt32Max, kInt32Max},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nextPowerOfTwoAbove(c.size), c.power) << c.size;
    }
}

TEST(PictureSize, EachSideIsChosenByItself) {
    const struct {
        int32_t pictureWidth, pictureHeight, settingWidth, settingHeight, width, height;
    } cases[] = {
        {100, 100, 512, 256, 128, 128},
        {256, 256, 512, 512, 512, 512},
        {2000, 1500, 512, 256, 512, 256},
        {1, 80, 512, 256, 2, 128},
        {600, 100, 512, 256, 512, 128},
        {128, 128, 128, 128, 128, 128}, // as large as the setting: the setting stays
        {127, 127, 128, 128, 128, 128},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseWorkingSide(c.pictureWidth, c.settingWidth), c.width) << c.pictureWidth;
        EXPECT_EQ(chooseWorkingSide(c.pictureHeight, c.settingHeight), c.height) << c.pictureHeight;
    }
}

TEST(PictureSize, HandEditedSettingsGiveSidesTheLoaderCanRefuse) {
    EXPECT_EQ(chooseWorkingSide(100, 0), 0);
    EXPECT_EQ(chooseWorkingSide(100, -256), -256);
    EXPECT_EQ(chooseWorkingSide(100, kInt32Max), 128);
    EXPECT_EQ(chooseWorkingSide(kInt32Max - 1, kInt32Max), kInt32Max);
    EXPECT_EQ(chooseWorkingSide(-1, 512), 2); // a size the platform failed to convert
}

} // namespace
