#include "imaging/picture_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <jpeglib.h>

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

constexpr int kMadeLevel = 150;

// A side x side JPEG from libjpeg of grey kMadeLevel, every component at full resolution:
// progressive in the scans of jpeg_simple_progression, or baseline with a restart marker after
// every restartRows rows of blocks.
std::string libjpegFile(int side, bool progressive, int restartRows = 0) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = info.image_height = static_cast<JDIMENSION>(side);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    info.restart_in_rows = restartRows;
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(3 * static_cast<size_t>(side), kMadeLevel);
    for (JSAMPROW rows = row.data(); info.next_scanline < info.image_height;) {
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const std::string out(reinterpret_cast<const char*>(bytes), size);
    std::free(bytes);
    return out;
}

// The file's first `scans` scans, whole, then an end marker. Entropy-coded data never holds a
// start-of-scan marker: it stuffs a zero after each 0xff.
std::string firstScans(const std::string& jpeg, int scans) {
    size_t at = 0;
    for (int i = 0; i <= scans && at != std::string::npos; ++i) {
        at = jpeg.find("\xff\xda", at + 1);
    }
    return jpeg.substr(0, at) + "\xff\xd9";
}

// Three bytes of garbage in the middle of the third restart interval, between RST1 and RST2.
std::string damagedInsideAnInterval(std::string jpeg) {
    const size_t from = jpeg.find("\xff\xd1") + 2;
    const size_t to = jpeg.find("\xff\xd2");
    jpeg.replace((from + to) / 2 - 1, 3, "\x5a\xa5\x5a");
    return jpeg;
}

// The share of the picture's samples within a few steps of level.
double shareNear(const RgbPicture& image, int level) {
    size_t near = 0;
    for (const uint8_t sample : image.rgb) {
        near += std::abs(sample - level) <= 3 ? 1 : 0;
    }
    return image.rgb.empty() ? 0.0 : static_cast<double>(near) / image.rgb.size();
}

// 1/2, 1/4 or 1/8 of a 64-pixel JPEG, whichever is smallest yet covers the working size. A
// progressive one that ends after its first scans is shown too, coarser, and a baseline one
// damaged inside one restart interval, wrong in that interval alone.
TEST(PictureFiles, JpegIsDecodedAtTheSmallestScaleThatCoversTheWorkingSize) {
    const std::string grey = greyJpeg(2000, true);
    const std::string twoScans = firstScans(libjpegFile(64, true), 2);
    const std::string damaged = damagedInsideAnInterval(libjpegFile(64, false, 1));
    const struct {
        const std::string& bytes;
        TextureSize texture;
        int side;
        int level; // of most of the picture
    } cases[] = {{grey, {0, 0}, 64, 128},          {grey, {16, 16}, 16, 128},
                 {grey, {8, 4}, 8, 128},           {grey, {100, 100}, 64, 128},
                 {grey, {16, 64}, 64, 128},        {twoScans, {16, 16}, 16, kMadeLevel},
                 {damaged, {0, 0}, 64, kMadeLevel}};
    const std::string path = tempPath("scaled.jpg");
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        RgbPicture image;
        std::string error;
        ASSERT_TRUE(readPicture(path, image, error, c.texture)) << error;
        EXPECT_EQ(image.width, c.side) << c.texture.width << " x " << c.texture.height;
        EXPECT_EQ(image.height, c.side) << c.texture.width << " x " << c.texture.height;
        EXPECT_GT(shareNear(image, c.level), 0.75) << c.texture.width << " x " << c.texture.height;
    }
}

// A progressive picture keeps every coefficient of each component until its last scan: two
// bytes a pixel a component, which the limit must cover up to the pixel cap and no further.
TEST(PictureFiles, JpegMemoryLimitHoldsEveryCoefficientWithinThePixelCap) {
    const struct {
        uint16_t width;
        uint16_t height;
        uint8_t components;
        bool covered;
    } cases[] = {
        {8192, 8192, 3, true},  {16384, 4096, 3, true},   {16384, 4096, 1, true},
        {8192, 8192, 4, false}, {16384, 16384, 3, false},
    };
    for (const auto& c : cases) {
        const uint64_t coefficients = 2ull * c.width * c.height * c.components;
        EXPECT_EQ(jpegMemoryLimit(c.width, c.height, c.components) > coefficients, c.covered)
            << c.width << " x " << c.height << " x " << int{c.components};
    }
}

// Made at 8192 x 8192, progressive, 4:4:4; decoded at 1/8, which still covers a 1024 texture.
TEST(PictureFiles, ProgressiveJpegAtThePixelCapDecodes) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "too slow and too large under the sanitizers";
#endif
    const std::string path = tempPath("large_progressive.jpg");
    writeBytes(path, libjpegFile(8192, true));
    RgbPicture image;
    std::string error;
    ASSERT_TRUE(readPicture(path, image, error, {1024, 1024})) << error;
    EXPECT_EQ(image.width, 1024);
    EXPECT_EQ(image.height, 1024);
    std::remove(path.c_str());
}

TEST(PictureFiles, BrokenFilesAreRefusedWithTheirName) {
    const struct {
        const char* name;
        std::string bytes;
        const char* reason = nullptr; // when it matters which
    } cases[] = {
        {"text.png", "just some text"},
        {"cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)},
        {"cut.jpg", std::string("\xff\xd8\xff\xe0\0\x10JFIF", 10)},
        {"cut.ppm", "P6\n4 4\n255\nabc"},
        {"huge.ppm", "P6\n99999 2\n255\n"},
        {"short.jpg", greyJpeg(100, false)},
        {"stops.jpg", greyJpeg(100, true)},
        {"empty.png", "", "the file is empty"},
    };
    for (const auto& c : cases) {
        const std::string path = tempPath(c.name);
        writeBytes(path, c.bytes);
        RgbPicture image;
        std::string error;
        EXPECT_FALSE(readPicture(path, image, error)) << c.name;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        if (c.reason) {
            EXPECT_EQ(error, path + ": " + c.reason);
        }
    }
}

} // namespace
