// render_frames run as a user runs it, on files it reads and writes.
#include "imaging/picture_files.h"
#include "offscreen/offscreen_gl.h"
#include "scene/frame.h"
#include "scene/scene_start.h"
#include "settings/saver_settings.h"
#include "textures/builtin_texture.h"
#include "textures/rgb_picture.h"
#include "textures/source_picture.h"

#include "support/scene_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

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

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

const char kStill[] = " --drips 0 --movement 0 --color 0 --frames 1 --out ";

// The picture lies still and whole in the middle of a still scene, as the quadrants' centres
// show: the red one at the top left, whatever the file's own row order. As a desktop that four
// monitors off the origin share, each monitor shows its own quadrant, the primary the last.
TEST(RenderFrames, PngAndJpegPicturesReachTheSurfaceUpright) {
    // The light shades the picture a little; the JPEG may lie a few steps further off.
    const std::vector<std::array<int, 2>> kMiddles = {{20, 16}, {44, 16}, {20, 34}, {44, 34}};
    const struct {
        const char* arguments;
        const char* file;
        int tolerance;
        std::vector<std::array<int, 2>> points;
    } cases[] = {
        {"--source custom --size 64x48", "quadrants.png", 10, kMiddles},
        {"--source custom --size 64x48", "quadrants.jpg", 20, kMiddles},
        {"--source desktop --monitors 32x32+0+0,32x32-32-32,32x32+0-32,32x32-32+0",
         "quadrants.png",
         10,
         {{16, 16}, {48, 16}, {16, 48}, {48, 48}}},
    };
    std::string error;
    ASSERT_TRUE(writePng(tempPath("quadrants.png"), quadrants(), error)) << error;
    const std::string toJpeg =
        "convert " + tempPath("quadrants.png") + " -quality 95 " + tempPath("quadrants.jpg");
    ASSERT_EQ(std::system(toJpeg.c_str()), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments) + " " + c.file);
        ASSERT_TRUE(renderFrames(std::string(c.arguments) + " --picture " + tempPath(c.file) +
                                 kStill + ::testing::TempDir()));
        RgbPicture frame;
        ASSERT_TRUE(readPng(::testing::TempDir() + "/frame_0001.png", frame, error)) << error;
        for (int q = 0; q < 4; ++q) {
            const uint8_t* p = &frame.rgb[3 * (c.points[q][1] * frame.width + c.points[q][0])];
            for (int channel = 0; channel < 3; ++channel) {
                EXPECT_NEAR(p[channel], kQuadrantColours[q][channel], c.tolerance)
                    << "quadrant " << q << " channel " << channel;
            }
        }
    }
}

// A Custom picture smaller than the texture gets its working size (128 x 64 for 100 x 60 under
// 512 x 256), so render_frames draws what the saver's own preparation draws here; its output
// folder is made when missing.
TEST(RenderFrames, CustomPictureIsPreparedAsTheSaverPreparesIt) {
    RgbPicture checks; // one-pixel checks, which any other stretch would move
    checks.width = 100;
    checks.height = 60;
    for (int i = 0; i < 100 * 60; ++i) {
        const uint8_t level = (i % 100 + i / 100) % 2 == 0 ? 230 : 40;
        checks.rgb.insert(checks.rgb.end(), {level, 120, static_cast<uint8_t>(270 - level)});
    }
    std::string error;
    ASSERT_TRUE(writePng(tempPath("checks.png"), checks, error)) << error;
    const std::string out = tempPath("made") + std::to_string(getpid());
    ASSERT_TRUE(renderFrames("--source custom --size 320x240 --picture " + tempPath("checks.png") +
                             kStill + out));
    RgbPicture drawn;
    ASSERT_TRUE(readPng(out + "/frame_0001.png", drawn, error)) << error;

    useStillWhiteScene();
    saverSettings.sourceTexture = kSourceCustom;
    ASSERT_TRUE(prepareCustomPicture(checks));
    EXPECT_EQ(sourcePicture.width, 128);
    EXPECT_EQ(sourcePicture.height, 64);
    OffscreenGl gl(320, 240);
    ASSERT_TRUE(gl.ready());
    glViewport(0, 0, 320, 240);
    frameViewports = MonitorLayout();
    startScene(1);
    renderFrame(nullptr);
    EXPECT_TRUE(gl.image().rgb == drawn.rgb) << "render_frames drew another picture";
    sourceTextureName = 0;
    std::filesystem::remove_all(out);
}

// A picture that cannot be had, Custom or Desktop, gives the frame Chomify gives, not an end.
TEST(RenderFrames, APictureThatCannotBeHadShowsChomify) {
    const std::string out = tempPath("chomify") + std::to_string(getpid());
    const std::string frame = out + "/frame_0001.png";
    const std::string still = " --size 64x48" + std::string(kStill) + out;
    RgbPicture chomify;
    std::string error;
    ASSERT_TRUE(renderFrames("--source chomify" + still));
    ASSERT_TRUE(readPng(frame, chomify, error)) << error;
    writeBytes(tempPath("empty.png"), "");
    for (const char* source : {"custom", "desktop"}) {
        std::remove(frame.c_str());
        RgbPicture drawn;
        ASSERT_TRUE(renderFrames(std::string("--source ") + source + " --picture " +
                                 tempPath("empty.png") + still))
            << source;
        ASSERT_TRUE(readPng(frame, drawn, error)) << error;
        EXPECT_TRUE(drawn.rgb == chomify.rgb) << source;
    }
    std::filesystem::remove_all(out);
}

// The hexadecimal forms only: render_frames opens no display to read colour names. Drips of
// pure red, in any form, change the red of what untinted water draws and nothing else.
TEST(RenderFrames, TakesColoursInHexadecimal) {
    const std::string frame = " --size 32x24 --frames 30 --every 30 --out " + ::testing::TempDir();
    const std::string drawn = ::testing::TempDir() + "/frame_0030.png";
    const auto draw = [&](const std::string& options, RgbPicture& picture) {
        std::remove(drawn.c_str());
        std::string error;
        return renderFrames(options + frame) && readPng(drawn, picture, error);
    };
    RgbPicture untinted;
    ASSERT_TRUE(draw("--color 0", untinted));
    for (const char* colour : {"ff0000", "'#ff0000'", "0xff0000"}) {
        const std::string both = std::string(" ") + colour + " ";
        RgbPicture tinted;
        ASSERT_TRUE(draw("--min-color" + both + "--max-color" + both, tinted)) << colour;
        ASSERT_EQ(tinted.rgb.size(), untinted.rgb.size());
        int changed[3] = {};
        for (size_t i = 0; i < tinted.rgb.size(); ++i) {
            changed[i % 3] += tinted.rgb[i] != untinted.rgb[i];
        }
        EXPECT_GT(changed[0], 0) << colour;
        EXPECT_EQ(changed[1] + changed[2], 0) << colour;
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
