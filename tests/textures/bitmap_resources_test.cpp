#include "textures/bitmap_resources.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

int32_t field32(const uint8_t* p) {
    int32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// Pixel (x, y) counted from the top-left corner of a packed 24-bit bottom-up DIB.
Rgb pixelAt(const BitmapResource& bitmap, int x, int y) {
    const int stride = (bitmap.width * 3 + 3) & ~3;
    const uint8_t* p = bitmap.bits + field32(bitmap.bits) +
                       static_cast<size_t>(bitmap.height - 1 - y) * stride + x * 3;
    return {p[2], p[1], p[0]};
}

BitmapResource found(int id) {
    BitmapResource bitmap;
    EXPECT_TRUE(findBitmapResource(id, bitmap)) << id;
    return bitmap;
}

TEST(BitmapResources, BuiltInBitmapsArePacked24BitDibsOfTheirSizes) {
    const struct {
        int id, width, height;
    } expected[] = {
        {kSkyBitmapId, 256, 256}, {kRoomBitmapId, 256, 256}, {kDigitStripBitmapId, 200, 23}};
    for (const auto& e : expected) {
        const BitmapResource bitmap = found(e.id);
        ASSERT_NE(bitmap.bits, nullptr);
        EXPECT_EQ(bitmap.width, e.width);
        EXPECT_EQ(bitmap.height, e.height);
        EXPECT_EQ(field32(bitmap.bits), 40) << "header size";
        EXPECT_EQ(field32(bitmap.bits + 4), e.width);
        EXPECT_EQ(field32(bitmap.bits + 8), e.height) << "bottom row first";
        uint16_t bitsPerPixel;
        std::memcpy(&bitsPerPixel, bitmap.bits + 14, sizeof bitsPerPixel);
        EXPECT_EQ(bitsPerPixel, 24);
        EXPECT_EQ(field32(bitmap.bits + 16), 0) << "uncompressed";
        EXPECT_EQ(field32(bitmap.bits + 32), 0) << "no colour table";
    }
}

TEST(BitmapResources, UnknownIdIsNotFound) {
    BitmapResource bitmap;
    EXPECT_FALSE(findBitmapResource(999, bitmap));
    EXPECT_EQ(bitmap.bits, nullptr);
}

TEST(BitmapResources, SkyIsABlueDiscWithWhiteCorners) {
    const BitmapResource sky = found(kSkyBitmapId);
    for (const auto& corner : {Rgb{0, 0, 0}, Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{255, 255, 0}}) {
        const Rgb p = pixelAt(sky, corner.red, corner.green);
        EXPECT_EQ(p.red + p.green + p.blue, 3 * 255);
    }
    int blueish = 0;
    for (int y = 40; y < 216; y += 4) {
        for (int x = 40; x < 216; x += 4) {
            const Rgb p = pixelAt(sky, x, y);
            blueish += p.blue > p.red + 20 ? 1 : 0;
        }
    }
    EXPECT_GT(blueish, 44 * 44 / 3) << "mostly sky blue, some clouds";
}

TEST(BitmapResources, RoomIsADarkWarmDiscWithBrightPatchesOnBlack) {
    const BitmapResource room = found(kRoomBitmapId);
    const Rgb corner = pixelAt(room, 0, 0);
    EXPECT_EQ(corner.red + corner.green + corner.blue, 0);
    int warm = 0;
    int bright = 0;
    int samples = 0;
    for (int y = 40; y < 216; y += 2) {
        for (int x = 40; x < 216; x += 2) {
            const Rgb p = pixelAt(room, x, y);
            ++samples;
            warm += (p.red > p.green && p.green >= p.blue && p.red < 160) ? 1 : 0;
            bright += (p.red > 230 && p.green > 230 && p.blue > 230) ? 1 : 0;
        }
    }
    EXPECT_GT(warm, samples / 2);
    EXPECT_GT(bright, samples / 100);
    EXPECT_LT(bright, samples / 4);
}

TEST(BitmapResources, DigitStripHoldsTenGreenGlyphsInTwentyPixelCells) {
    const BitmapResource digits = found(kDigitStripBitmapId);
    for (int cell = 0; cell < 10; ++cell) {
        int lit = 0;
        for (int y = 0; y < 23; ++y) {
            for (int x = cell * 20; x < cell * 20 + 20; ++x) {
                const Rgb p = pixelAt(digits, x, y);
                if (p.green > 200) {
                    ++lit;
                    EXPECT_GT(p.green, 2 * p.red);
                    EXPECT_GT(p.green, 2 * p.blue);
                }
            }
            // Cells stay apart: their edge columns are black.
            EXPECT_EQ(pixelAt(digits, cell * 20, y).green, 0) << cell;
            EXPECT_EQ(pixelAt(digits, cell * 20 + 19, y).green, 0) << cell;
        }
        EXPECT_GT(lit, 10) << "digit " << cell;
    }
    // An 8 lights more than a 1.
    auto litIn = [&](int cell) {
        int count = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = cell * 20; x < cell * 20 + 20; ++x)
                count += pixelAt(digits, x, y).green > 128 ? 1 : 0;
        return count;
    };
    EXPECT_GT(litIn(8), 2 * litIn(1));
}

} // namespace
