#include <windows.h>

#include "display/display_mode.h"
#include "display/display_seam.h"
#include "support/message_box_watch_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The real display with the message captured instead of shown.
std::vector<std::string> messages;

void captureMessage(const char* text) {
    messages.push_back(text);
}

class DisplayModeWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        messages.clear();
        seam = platformDisplaySeam;
        seam.showMessage = captureMessage;
        saved = displaySeam;
        displaySeam = &seam;
    }
    void TearDown() override { displaySeam = saved; }

    DisplaySeam seam = {};
    const DisplaySeam* saved = nullptr;
};

// NOTE: Xvfb under Wine offers 1024x768 at 32, 16 and 8 bits; a depth change "succeeds" without
// effect and 800x600 is refused with DISP_CHANGE_BADMODE.
TEST_F(DisplayModeWin32, ListsTheScreensModes) {
    bool found = false;
    DisplayMode mode = {};
    int32_t count = 0;
    for (; platformDisplaySeam.enumerateMode(count, &mode); ++count) {
        found = found || (mode.width == 1024 && mode.height == 768 && mode.depth == 32);
    }
    EXPECT_GT(count, 0);
    EXPECT_TRUE(found);
}

TEST_F(DisplayModeWin32, SwitchesToAListedModeAndRestores) {
    EXPECT_EQ(switchDisplayMode(1024, 768, 32), 1);
    EXPECT_EQ(switchDisplayMode(0, 0, 0), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(DisplayModeWin32, RefusedResolutionIsReported) {
    EXPECT_EQ(switchDisplayMode(800, 600, 32), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The video mode 800x600x32-bit color is not supported\n");
    DEVMODEA current = {};
    current.dmSize = sizeof current;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(current.dmPelsWidth, 1024u);
    EXPECT_EQ(current.dmPelsHeight, 768u);
}

TEST(DisplayModeMessage, ShowsTheTextInAnErrorBoxCaptionedSsError) {
    MessageBoxWatch box("SS Error");
    platformDisplaySeam.showMessage("The video mode 640x480x16-bit color is not supported\n");
    box.wait();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text, "The video mode 640x480x16-bit color is not supported\n");
    EXPECT_TRUE(box.hasErrorIcon);
}

} // namespace
