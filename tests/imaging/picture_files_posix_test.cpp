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
