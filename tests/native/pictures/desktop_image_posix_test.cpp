#include "native/pictures/desktop_image.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DesktopImage, CoveringAnOutputThatJoinsKeepsEachPixelWhereItWas) {
    DesktopImage image;
    ASSERT_TRUE(coverRect(image, {10, 0, 12, 1}));
    EXPECT_EQ(image.picture.width, 2);
    image.picture.rgb = {1, 2, 3, 4, 5, 6};
    // An output to the left and below: the image grows both ways.
    ASSERT_TRUE(coverRect(image, {8, 1, 9, 2}));
    EXPECT_EQ(image.onRoot.left, 8);
    EXPECT_EQ(image.onRoot.bottom, 2);
    ASSERT_EQ(image.picture.width, 4);
    ASSERT_EQ(image.picture.height, 2);
    const std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(image.picture.rgb, expected);
    // One already covered changes nothing.
    ASSERT_TRUE(coverRect(image, {9, 0, 10, 1}));
    EXPECT_EQ(image.picture.rgb, expected);
}
