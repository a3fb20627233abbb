#include <windows.h>

#include "host/render_thread_win32.h"

#include "settings/saver_settings.h"
#include "support/test_window_win32.h"
#include "surface/drips.h"
#include "surface/surface_grid.h"

#include "support/scene_settings.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 80;
constexpr int kWidth = 320;
constexpr int kHeight = 240;

int brightness(COLORREF color) {
    return GetRValue(color) + GetGValue(color) + GetBValue(color);
}

// Starts the render thread the way the window thread does, and stops it the same way.
class RenderThread : public ::testing::Test {
protected:
    TestWindow window{kLeft, kTop, kWidth, kHeight};

    void SetUp() override {
        ASSERT_TRUE(window.handle());
        useStillWhiteScene();
    }

    void start() {
        ASSERT_TRUE(startRendering(window.handle()));
        handle_ = renderThread.load();
    }

    // Stops it and polls for the handle as the window thread does: ten times 100 ms.
    bool stopWithinASecond() {
        stopRendering();
        for (int poll = 0; poll < 10 && renderThread.load(); ++poll) {
            Sleep(100);
        }
        return renderThread.load() == nullptr;
    }

    void TearDown() override {
        if (handle_) {
            stopRendering();
            WaitForSingleObject(handle_, 5000);
            CloseHandle(handle_);
        }
    }

    HANDLE handle_ = nullptr;
};

TEST_F(RenderThread, DrawsTheSurfaceUntilTheFlagIsClearedThenClearsItsHandle) {
    start();
    // Wait for a presented frame: the middle of the window turns white.
    bool shown = false;
    for (int wait = 0; wait < 50 && !shown; ++wait) {
        pumpMessagesFor(100);
        shown = brightness(screenPixel(kLeft + kWidth / 2, kTop + kHeight / 2)) > 3 * 230;
    }
    EXPECT_TRUE(shown) << "middle of the window: " << std::hex
                       << screenPixel(kLeft + kWidth / 2, kTop + kHeight / 2);
    // The grid's edges fall inside the window, with black beyond them.
    EXPECT_EQ(brightness(screenPixel(kLeft + 10, kTop + kHeight / 2)), 0);
    EXPECT_EQ(brightness(screenPixel(kLeft + kWidth / 2, kTop + 8)), 0);
    EXPECT_GT(brightness(screenPixel(kLeft + kWidth / 4, kTop + kHeight / 2)), 100);

    EXPECT_TRUE(stopWithinASecond());
    EXPECT_EQ(WaitForSingleObject(handle_, 2000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeThread(handle_, &exitCode);
    EXPECT_EQ(exitCode, 1u);
}

TEST_F(RenderThread, OnlyReadsTheSettingsEvenWithRandomPresetsOn) {
    // The window thread applies the random preset; the render thread builds what it finds.
    saverSettings.useRandomPreset = 1;
    saverSettings.meshX = 20;
    start();
    pumpMessagesFor(300);
    EXPECT_TRUE(stopWithinASecond());
    EXPECT_EQ(saverSettings.meshX, 20.0f);
    EXPECT_EQ(surfaceGrid.columns, 20);
}

// A drip spawned as drawing pauses ages by the frames after the pause only: waking from the
// wait restarts the frame clock.
TEST_F(RenderThread, TimeSpentPausedIsNoAnimationTime) {
    dripPool = DripPool(); // no drip of the render thread's own: it has no "Maximum Drips"
    start();
    ASSERT_TRUE(changesWithin(renderedFrames, 5000));
    pauseRendering();
    pumpMessagesFor(200); // the frame being drawn ends
    saverSettings.maxDrips = 1;
    spawnDrip(512, 384, 10, 1000, 1, 1, 1);
    pumpMessagesFor(300);
    resumeRendering();
    ASSERT_TRUE(changesWithin(renderedFrames, 1000));
    EXPECT_TRUE(stopWithinASecond());
    EXPECT_LT(dripPool.slots[0].age, 0.05f);
}

} // namespace
