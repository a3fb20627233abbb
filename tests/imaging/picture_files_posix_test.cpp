#include "imaging/picture_files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "mereflow_" + name;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PictureFiles, PngReadsBackTheSamePixels) {
    RgbPicture written;
    written.width = 7;
    written.height = 3;
    for (int i = 0; i < 7 * 3 * 3; ++i) {
        written.rgb.push_back(static_cast<uint8_t>(i * 37 + 11));
    }
    const std::string path = tempPath("round_trip.png");
    std::string error;
    ASSERT_TRUE(writePng(path, written, error)) << error;
    RgbPicture read;
    ASSERT_TRUE(readPicture(path, read, error)) << error;
    EXPECT_EQ(read.width, 7);
    EXPECT_EQ(read.height, 3);
    EXPECT_EQ(read.rgb, written.rgb);
}

// A grey 64 x 64 baseline JPEG whose scan is scanBytes of zeros, which the decoder's default
// Huffman tables read as flat blocks of about 24 bytes; an end marker follows only when asked.
std::string greyJpeg(size_t scanBytes, bool ends) {
    std::string bytes("\xff\xd8\xff\xdb\x00\x43\x00", 7);
    bytes.append(64, '\x01');
    bytes.append("\xff\xc0\x00\x0b\x08\x00\x40\x00\x40\x01\x01\x11\x00"
                 "\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00",
                 23);
    bytes.append(scanBytes, '\0');
    return ends ? bytes + "\xff\xd9" : bytes;
}

// 1/2, 1/4 or 1/8 of a 64-pixel JPEG, whichever is smallest yet covers the working size.
TEST(PictureFiles, JpegIsDecodedAtTheSmallestScaleThatCoversTheWorkingSize) {
    const struct {
        TextureSize texture;
        int side;
    } cases[] = {{{0, 0}, 64}, {{16, 16}, 16}, {{8, 4}, 8}, {{100, 100}, 64}, {{16, 64}, 64}};
    const std::string path = tempPath("grey.jpg");
    writeBytes(path, greyJpeg(2000, true));
    for (const auto& c : cases) {
        RgbPicture image;
        std::string error;
        ASSERT_TRUE(readPicture(path, image, error, c.texture)) << error;
        EXPECT_EQ(image.width, c.side) << c.texture.width << " x " << c.texture.height;
        EXPECT_EQ(image.height, c.side) << c.texture.width << " x " << c.texture.height;
    }
}

TEST(PictureFiles, BrokenFilesAreRefusedWithTheirName) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"text.png", "just some text"},
        {"cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)},
        {"cut.jpg", std::string("\xff\xd8\xff\xe0\0\x10JFIF", 10)},
        {"cut.ppm", "P6\n4 4\n255\nabc"},
        {"huge.ppm", "P6\n99999 2\n255\n"},
        {"short.jpg", greyJpeg(100, false)},
    };
    for (const auto& c : cases) {
        const std::string path = tempPath(c.name);
        writeBytes(path, c.bytes);
        RgbPicture image;
        std::string error;
        EXPECT_FALSE(readPicture(path, image, error)) << c.name;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
}

} // namespace
