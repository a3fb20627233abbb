#include "scene/frame.h"

#include "common/clock.h"
#include "offscreen/offscreen_gl.h"
#include "scene/camera_oscillator.h"
#include "scene/scene_setup.h"
#include "scene/scene_start.h"
#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/sine_table.h"
#include "surface/surface_grid.h"
#include "textures/builtin_texture.h"
#include "textures/source_picture.h"

#include "support/scene_settings.h"

#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// Frames of a 200 x 150 window: the 120 degree projection puts the grid's edges at about 13%
// and 86% of the width and at 14% and 87% of the height from the top.
class Frame : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 150;

    OffscreenGl gl{kWidth, kHeight};

    void SetUp() override {
        ASSERT_TRUE(gl.ready());
        useStillWhiteScene();
        dripPool = DripPool();
        lastDripTime = 0.0f;
        fillSineTable();
    }

    void TearDown() override {
        for (BuiltinTexture* texture : {&environmentTexture, &digitTexture}) {
            texture->loaded = 0;
            texture->textureName = 0;
        }
        std::fill(std::begin(sourceTextureNames), std::end(sourceTextureNames), 0u);
        frameViewports = MonitorLayout();
    }

    void startScene() {
        glViewport(0, 0, kWidth, kHeight);
        setupScene();
    }

    // Whether the pixel shows some of the lit surface rather than the black clear colour.
    static bool lit(const OffscreenGl& on, int x, int y) {
        const OffscreenRgb p = on.pixelFromTop(x, y);
        return p.red + p.green + p.blue > 60;
    }
    bool lit(int x, int y) const { return lit(gl, x, y); }
};

TEST_F(Frame, WhiteSurfaceIsLitInTheMiddleAndBlackBeyondItsEdges) {
    startScene();
    renderFrame(nullptr);

    const OffscreenRgb middle = gl.pixelFromTop(kWidth / 2, kHeight / 2);
    EXPECT_GT(middle.red, 240);
    EXPECT_GT(middle.green, 240);
    EXPECT_GT(middle.blue, 240);
    const int midX = kWidth / 2;
    const int midY = kHeight / 2;
    EXPECT_TRUE(lit(35, midY));
    EXPECT_TRUE(lit(165, midY));
    EXPECT_TRUE(lit(midX, 30));
    EXPECT_TRUE(lit(midX, 122));
    const OffscreenRgb black = {0, 0, 0};
    for (const auto& outside :
         {gl.pixelFromTop(15, midY), gl.pixelFromTop(185, midY), gl.pixelFromTop(midX, 10),
          gl.pixelFromTop(midX, 140), gl.pixelFromTop(2, 2), gl.pixelFromTop(197, 147)}) {
        EXPECT_EQ(outside.red, black.red);
        EXPECT_EQ(outside.green, black.green);
        EXPECT_EQ(outside.blue, black.blue);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Frame, ZoomFourteenDrawsTheFirstFrameAtScaleOneAndLaterOnesLarger) {
    saverSettings.enableMovement = 1;
    saverSettings.zoomAmplitude = 14;
    saverSettings.zoomTime = 0;
    startScene();
    renderFrame(nullptr);
    EXPECT_FALSE(lit(15, kHeight / 2));
    EXPECT_FLOAT_EQ(cameraState.scale, 1.4f);
    renderFrame(nullptr);
    EXPECT_TRUE(lit(15, kHeight / 2)); // the surface now reaches past the window's edges
    EXPECT_TRUE(lit(2, 2));
}

TEST_F(Frame, MovementOffLeavesTheCameraAtRest) {
    saverSettings.rotateXAmplitude = 10;
    saverSettings.rotateXTime = 30;
    saverSettings.rotateYAmplitude = 25;
    startScene();
    for (int frame = 0; frame < 3; ++frame) {
        renderFrame(nullptr);
    }
    EXPECT_EQ(cameraState.rotationX, 0.0f);
    EXPECT_EQ(cameraState.rotationY, 0.0f);
    EXPECT_EQ(cameraState.scale, 1.0f);
    EXPECT_EQ(cameraOscillators.rotateX.counter, 15.0f);
}

TEST_F(Frame, MovementTurnsTheCameraAfterEachFrame) {
    saverSettings.enableMovement = 1;
    saverSettings.rotateYAmplitude = 25;
    saverSettings.rotateXAmplitude = 10;
    saverSettings.rotateXTime = 30;
    startScene();
    lastFrameTimeMs = readClockMs() - 1000.0;
    renderFrame(nullptr);
    EXPECT_EQ(cameraState.rotationY, 25.0f);
    EXPECT_NEAR(cameraState.rotationX, 1.0f / 3.0f, 1e-5f); // computed before the counter moved
    EXPECT_NEAR(cameraOscillators.rotateX.counter, 45.0f, 0.5f);
}

// A host that draws each monitor on a surface of its own moves the water on once a round.
TEST_F(Frame, DripsAgeByTheIntervalSinceThePreviousFrame) {
    const std::function<void()> frames[] = {
        [] { renderFrame(nullptr); },
        [] {
            const float dt = beginFrameRound();
            drawRoundFrame(nullptr, dt);
            drawRoundFrame(nullptr, dt);
            endFrameRound(dt);
        },
    };
    for (const auto& frame : frames) {
        dripPool = DripPool();
        saverSettings.maxDrips = 1;
        startScene();
        spawnDrip(512, 384, 10, 1000, 1, 1, 1);
        // Bounds rather than a tolerance: a loaded machine may stall anywhere in between.
        const double previousFrame = readClockMs() - 500.0;
        lastFrameTimeMs = previousFrame;
        const double before = readClockMs();
        frame();
        const double after = readClockMs();
        EXPECT_GE(dripPool.slots[0].age, 0.499f);
        EXPECT_LE(dripPool.slots[0].age,
                  static_cast<float>((after - previousFrame) * 0.001) + 0.001f);
        EXPECT_GE(lastFrameTimeMs, before);
        EXPECT_LE(lastFrameTimeMs, after);
        EXPECT_NE(surfaceGrid.positions[30 * 80 + 40].z, 0.0f);
    }
}

TEST_F(Frame, TheOverlayLeavesTheSourceTextureBound) {
    saverSettings.showFrameRate = 1;
    for (int32_t source : {kSourceDesktop, kSourceCustom}) {
        saverSettings.sourceTexture = source;
        startScene();
        glGenTextures(1, &sourceTextureName);
        renderFrame(nullptr);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), sourceTextureName);
        GLint matrixMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_MODELVIEW);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    }
}

// A 200 x 150 primary and a 160 x 120 monitor to its right: each shows the whole surface,
// centred in it over about 0.73 of its width, and the strip below the smaller one stays black.
TEST_F(Frame, EachMonitorShowsTheWholeSurfaceCentredInIt) {
    const ScreenRect monitors[] = {{0, 0, 200, 150}, {200, 0, 360, 120}};
    OffscreenGl wideGl(360, 150);
    ASSERT_TRUE(wideGl.ready());
    MonitorList list;
    for (const ScreenRect& m : monitors) {
        addMonitor(list, m, list.count == 0);
    }
    frameViewports = layoutMonitors(list, {0, 0, 360, 150}, false);
    setupScene();
    renderFrame(nullptr);

    for (const ScreenRect& m : monitors) {
        SCOPED_TRACE(m.left);
        const int row = (m.top + m.bottom) / 2;
        int first = m.right;
        int last = m.left - 1;
        for (int x = m.left; x < m.right; ++x) {
            const OffscreenRgb p = wideGl.pixelFromTop(x, row);
            if (p.red + p.green + p.blue > 60) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
        const int width = m.right - m.left;
        EXPECT_NEAR(first + last + 1, m.left + m.right, 4);
        EXPECT_NEAR(static_cast<double>(last + 1 - first) / width, 0.73, 0.03);
    }
    const OffscreenRgb below = wideGl.pixelFromTop(280, 140);
    EXPECT_EQ(below.red + below.green + below.blue, 0);
}

// Three monitors of 200 x 150 side by side, their Desktop pictures red, green and blue. Whether
// the window shows all three or only the second and third, each viewport shows its own
// monitor's picture, and the digits sit in the primary's viewport, else in the first.
TEST_F(Frame, EachViewportShowsItsOwnMonitorsPictureAndThePrimaryTheDigits) {
    const ScreenRect monitors[] = {{0, 0, 200, 150}, {200, 0, 400, 150}, {400, 0, 600, 150}};
    const uint8_t blueGreenRed[3][3] = {{30, 30, 220}, {30, 220, 30}, {220, 30, 30}};
    const struct {
        ScreenRect window;
        int digitsIn; // the monitor whose viewport shows them
    } cases[] = {{{200, 0, 600, 150}, 1}, {{0, 0, 600, 150}, 0}};
    OffscreenGl wideGl(600, 150);
    ASSERT_TRUE(wideGl.ready());
    MonitorList list;
    for (int i = 0; i < 3; ++i) {
        addMonitor(list, monitors[i], i == 0);
        sourcePictures[i].width = 4;
        sourcePictures[i].height = 4;
        ASSERT_TRUE(allocateSourcePixels(sourcePictures[i]));
        for (int p = 0; p < 4 * 4 * 3; ++p) {
            sourcePictures[i].pixels[p] = blueGreenRed[i][p % 3];
        }
    }
    saverSettings.sourceTexture = kSourceDesktop;
    saverSettings.showFrameRate = 1;
    ::startScene(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window.left);
        frameViewports = layoutMonitors(list, c.window, false);
        lastFrameTimeMs = readClockMs() - 20.0;
        renderFrame(nullptr);
        for (int i = c.window.left / 200; i < 3; ++i) {
            const int left = monitors[i].left - c.window.left;
            const OffscreenRgb middle = wideGl.pixelFromTop(left + 100, 75);
            const int channels[3] = {middle.red, middle.green, middle.blue};
            EXPECT_EQ(std::max_element(channels, channels + 3) - channels, i) << "monitor " << i;
            // The corner above and left of the surface is black but for the digits.
            bool digits = false;
            for (int y = 0; y < 18; ++y) {
                for (int x = left; x < left + 24; ++x) {
                    digits = digits || lit(wideGl, x, y);
                }
            }
            EXPECT_EQ(digits, i == c.digitsIn) << "monitor " << i;
        }
    }
}

// In a 500 x 380 window one overlay unit is 10 x 10 pixels; the text's cells start one unit
// from the left and one unit below the top. Which pixels of a cell show green.
std::vector<bool> greenInCell(const OffscreenGl& gl, int cell) {
    std::vector<bool> green;
    for (int y = 10; y < 20; ++y) {
        for (int x = 10 * (cell + 1); x < 10 * (cell + 2); ++x) {
            const OffscreenRgb p = gl.pixelFromTop(x, y);
            green.push_back(p.green > 128 && p.red < 100 && p.blue < 100);
        }
    }
    return green;
}

int count(const std::vector<bool>& pixels) {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), true));
}

TEST_F(Frame, TwentyMillisecondsShowFiftyAboveTheSurface) {
    OffscreenGl overlayGl(500, 380);
    ASSERT_TRUE(overlayGl.ready());
    saverSettings.showFrameRate = 1;
    saverSettings.sourceTexture = kSourceSky;
    glViewport(0, 0, 500, 380);
    setupScene();
    lastFrameTimeMs = readClockMs() - 20.0;
    renderFrame(nullptr);

    const std::vector<bool> five = greenInCell(overlayGl, 0);
    const std::vector<bool> zero = greenInCell(overlayGl, 1);
    EXPECT_GT(count(five), 5);
    EXPECT_GT(count(zero), 5);
    EXPECT_NE(five, zero);
    EXPECT_EQ(count(greenInCell(overlayGl, 2)), 0);
}

} // namespace
