// render_frames run as a user runs it, on files it reads and writes.
#include "imaging/picture_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <webp/demux.h>

namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "mereflow_render_" + name;
}

// NOTE: OSMesa keeps a few blocks to the end of the process, which the leak checker of a
// sanitized build would count against render_frames; those alone are let through.
bool renderFrames(const std::string& arguments) {
    const std::string suppressions = tempPath("osmesa.supp");
    std::ofstream(suppressions) << "leak:libOSMesa.so\n";
    const std::string command = "LSAN_OPTIONS=suppressions=" + suppressions + " " +
                                RENDER_FRAMES_PATH + " " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Red, green over blue, yellow: each quadrant 32 pixels square, so that no JPEG block, nor any
// block of its halved colour, straddles two colours.
const uint8_t kQuadrantColours[4][3] = {
    {200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {200, 200, 30}};

RgbPicture quadrants() {
    RgbPicture image;
    image.width = 64;
    image.height = 64;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* c = kQuadrantColours[(y / 32) * 2 + x / 32];
            image.rgb.insert(image.rgb.end(), c, c + 3);
        }
    }
    return image;
}

// The picture lies still and whole in the middle of a still scene, as the quadrants' centres
// show: the red one at the top left, whatever the file's own row order.
TEST(RenderFrames, PngAndJpegPicturesReachTheSurfaceUpright) {
    // The light shades the picture a little; the JPEG may lie a few steps further off.
    const struct {
        const char* name;
        int tolerance;
    } cases[] = {{"quadrants.png", 10}, {"quadrants.jpg", 20}};
    const int points[4][2] = {{20, 16}, {44, 16}, {20, 34}, {44, 34}};
    std::string error;
    ASSERT_TRUE(writePng(tempPath("quadrants.png"), quadrants(), error)) << error;
    const std::string toJpeg =
        "convert " + tempPath("quadrants.png") + " -quality 95 " + tempPath("quadrants.jpg");
    ASSERT_EQ(std::system(toJpeg.c_str()), 0);
    for (const auto& c : cases) {
        ASSERT_TRUE(renderFrames("--source custom --picture " + tempPath(c.name) +
                                 " --size 64x48 --drips 0 --movement 0 --color 0 --frames 1"
                                 " --out " +
                                 ::testing::TempDir()))
            << c.name;
        RgbPicture frame;
        ASSERT_TRUE(readPng(::testing::TempDir() + "/frame_0001.png", frame, error)) << error;
        for (int q = 0; q < 4; ++q) {
            const uint8_t* p = &frame.rgb[3 * (points[q][1] * 64 + points[q][0])];
            for (int channel = 0; channel < 3; ++channel) {
                EXPECT_NEAR(p[channel], kQuadrantColours[q][channel], c.tolerance)
                    << c.name << " quadrant " << q << " channel " << channel;
            }
        }
    }
}

// The hexadecimal forms only: render_frames opens no display to read colour names.
TEST(RenderFrames, TakesColoursInHexadecimal) {
    const std::string frame = " --size 32x24 --frames 1 --every 0";
    for (const char* colour : {"ff0000", "'#ff0000'", "0xff0000"}) {
        EXPECT_TRUE(renderFrames(std::string("--min-color ") + colour + frame)) << colour;
    }
    EXPECT_FALSE(renderFrames("--max-color red" + frame));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double meanDifference(const RgbPicture& frame, const uint8_t* rgba) {
    double sum = 0;
    for (size_t i = 0; i < frame.rgb.size(); ++i) {
        sum += std::abs(frame.rgb[i] - rgba[i / 3 * 4 + i % 3]);
    }
    return sum / static_cast<double>(frame.rgb.size());
}

// The encoder folds a frame that repeats the one before into it, so frames are found by time:
// each frame asked for is the one showing when it starts, close to the PNG of the same run.
TEST(RenderFrames, AnimationHoldsEveryFrameAskedForAtItsTime) {
    const int frames = 12;
    const std::string path = tempPath("water.webp");
    ASSERT_TRUE(renderFrames("--source white --size 64x48 --fps 10 --frames 12 --every 1 --out " +
                             ::testing::TempDir() + " --animation " + path));
    const std::string bytes = readFile(path);
    const WebPData data = {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
    WebPAnimDecoderOptions options;
    ASSERT_TRUE(WebPAnimDecoderOptionsInit(&options));
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    ASSERT_NE(decoder, nullptr);
    WebPAnimInfo info;
    ASSERT_TRUE(WebPAnimDecoderGetInfo(decoder, &info));
    EXPECT_EQ(info.canvas_width, 64u);
    EXPECT_EQ(info.canvas_height, 48u);
    int asked = 1;
    uint8_t* rgba = nullptr;
    int endMs = 0;
    while (WebPAnimDecoderGetNext(decoder, &rgba, &endMs)) {
        for (; asked <= frames && (asked - 1) * 100 < endMs; ++asked) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%04d.png", asked);
            RgbPicture png;
            std::string error;
            ASSERT_TRUE(readPng(::testing::TempDir() + name, png, error)) << error;
            EXPECT_LT(meanDifference(png, rgba), 4.0) << "frame " << asked;
        }
    }
    WebPAnimDecoderDelete(decoder);
    EXPECT_EQ(asked, frames + 1);
    EXPECT_EQ(endMs, frames * 100);
}

} // namespace
