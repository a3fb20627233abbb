#include "display/display_mode.h"

#include "display/display_seam.h"
#include "support/fake_display.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kThreeFields = 0x001C0000;
constexpr uint32_t kDepthOnly = 0x00040000;
constexpr uint32_t kResolutionOnly = 0x00180000;

class DisplayModeSwitch : public ::testing::Test {
protected:
    static void expectChange(const FakeDisplayCall& call, const char* kind, int32_t number,
                             DisplayMode record, uint32_t fields) {
        EXPECT_EQ(call.kind, kind);
        EXPECT_EQ(call.number, number);
        EXPECT_EQ(call.record.width, record.width);
        EXPECT_EQ(call.record.height, record.height);
        EXPECT_EQ(call.record.depth, record.depth);
        EXPECT_EQ(call.record.frequency, record.frequency);
        EXPECT_EQ(call.fields, fields);
    }

    FakeDisplayInUse display{{
        {640, 480, 8, 60},
        {640, 480, 16, 60},
        {800, 600, 16, 60},
        {800, 600, 16, 75},
        {1024, 768, 32, 60},
        {1024, 768, 32, 75},
    }};
    FakeDisplay& fake = fakeDisplay;
};

TEST_F(DisplayModeSwitch, RefusedSixtyHertzGivesWayToSeventyFive) {
    fake.answers = {kDisplayChangeFailed, kDisplayChangeSuccessful};
    EXPECT_EQ(switchDisplayMode(800, 600, 16), 1);
    ASSERT_EQ(fake.calls.size(), 2u);
    expectChange(fake.calls[0], "whole", 2, {800, 600, 16, 60}, 0);
    expectChange(fake.calls[1], "whole", 3, {800, 600, 16, 75}, 0);
}

TEST_F(DisplayModeSwitch, FirstExactModeThatTakesEnds) {
    EXPECT_EQ(switchDisplayMode(1024, 768, 32), 1);
    ASSERT_EQ(fake.calls.size(), 1u);
    expectChange(fake.calls[0], "whole", 4, {1024, 768, 32, 60}, 0);
}

TEST_F(DisplayModeSwitch, ThreeFieldRequestUsesTheFirstRefusedExactMode) {
    fake.answers = {kDisplayChangeFailed, kDisplayChangeFailed, kDisplayChangeSuccessful};
    EXPECT_EQ(switchDisplayMode(1024, 768, 32), 1);
    ASSERT_EQ(fake.calls.size(), 3u);
    expectChange(fake.calls[2], "fields", 4, {1024, 768, 32, 60}, kThreeFields);
}

TEST_F(DisplayModeSwitch, RefusedModeZeroIsNotRemembered) {
    fake.modes = {{800, 600, 16, 60}, {800, 600, 16, 75}, {1024, 768, 32, 60}};
    fake.answers = {kDisplayChangeFailed, kDisplayChangeFailed, kDisplayChangeSuccessful};
    EXPECT_EQ(switchDisplayMode(800, 600, 16), 1);
    ASSERT_EQ(fake.calls.size(), 3u);
    expectChange(fake.calls[2], "fields", 1, {800, 600, 16, 75}, kThreeFields);
}

TEST_F(DisplayModeSwitch, NoExactModeChangesDepthThenResolution) {
    fake.answers = {kDisplayChangeBadMode, kDisplayChangeSuccessful, kDisplayChangeSuccessful};
    EXPECT_EQ(switchDisplayMode(1280, 1024, 24), 1);
    ASSERT_EQ(fake.calls.size(), 3u);
    const DisplayMode request = {1280, 1024, 24, 60}; // on the record of mode 0
    expectChange(fake.calls[0], "fields", 0, request, kThreeFields);
    expectChange(fake.calls[1], "fields", 0, request, kDepthOnly);
    expectChange(fake.calls[2], "fields", 0, request, kResolutionOnly);
}

TEST_F(DisplayModeSwitch, RefusedResolutionRestoresTheDepthBeforeReporting) {
    fake.modes = {{1024, 768, 32, 60}};
    fake.answers = {kDisplayChangeFailed, kDisplayChangeSuccessful, kDisplayChangeBadMode};
    EXPECT_EQ(switchDisplayMode(640, 480, 16), 0);
    ASSERT_EQ(fake.calls.size(), 5u);
    expectChange(fake.calls[2], "fields", 0, {640, 480, 16, 60}, kResolutionOnly);
    EXPECT_EQ(fake.calls[3].kind, "restore");
    EXPECT_EQ(fake.calls[4].kind, "message");
    EXPECT_EQ(fake.calls[4].text, "The video mode 640x480x16-bit color is not supported\n");
}

TEST_F(DisplayModeSwitch, RefusedDepthIsReportedWithoutTryingTheResolution) {
    fake.answers = {kDisplayChangeBadMode, kDisplayChangeFailed};
    EXPECT_EQ(switchDisplayMode(1280, 1024, 24), 0);
    ASSERT_EQ(fake.calls.size(), 3u);
    EXPECT_EQ(fake.calls[2].kind, "message");
    // The three-field request's BADMODE is never reported: the depth change's failure is.
    EXPECT_EQ(fake.calls[2].text, "Hardware failed to change to 1280x1024x24-bit color\n");
}

TEST_F(DisplayModeSwitch, EachResultHasItsMessage) {
    const struct {
        int32_t result;
        const char* text;
    } cases[] = {
        {kDisplayChangeRestart,
         "You must change your video mode to 320x200x8-bit color and then restart\n"},
        {kDisplayChangeBadMode, "The video mode 320x200x8-bit color is not supported\n"},
        {kDisplayChangeFailed, "Hardware failed to change to 320x200x8-bit color\n"},
        {-3, "Failed to change to 320x200x8-bit color - unknown reason\n"},
        {-5, "Failed to change to 320x200x8-bit color - unknown reason\n"},
        {2, "Failed to change to 320x200x8-bit color - unknown reason\n"},
    };
    for (const auto& c : cases) {
        fake.calls.clear();
        fake.answers = {kDisplayChangeFailed, c.result};
        EXPECT_EQ(switchDisplayMode(320, 200, 8), 0);
        ASSERT_EQ(fake.calls.size(), 3u);
        EXPECT_EQ(fake.calls.back().text, c.text);
    }
    fake.calls.clear();
    fake.answers = {kDisplayChangeFailed, kDisplayChangeSuccessful, kDisplayChangeRestart};
    EXPECT_EQ(switchDisplayMode(320, 200, 8), 0);
    EXPECT_EQ(fake.calls.back().text,
              "You must change your video mode to 320x200x8-bit color and then restart\n");
}

TEST_F(DisplayModeSwitch, ZeroRequestRestoresWithoutMessage) {
    EXPECT_EQ(switchDisplayMode(0, 0, 0), 1);
    ASSERT_EQ(fake.calls.size(), 1u);
    expectChange(fake.calls[0], "fields", 0, {0, 0, 0, 60}, kThreeFields);
}

TEST_F(DisplayModeSwitch, NegativeAndHugeRequestsOnlyFail) {
    fake.answers = {kDisplayChangeBadMode, kDisplayChangeBadMode};
    EXPECT_EQ(switchDisplayMode(-1, 2147483647, -2147483647 - 1), 0);
    EXPECT_EQ(fake.calls.back().text,
              "The video mode -1x2147483647x-2147483648-bit color is not supported\n");
}

TEST_F(DisplayModeSwitch, DisplayWithoutModesStillTriesTheFallbacks) {
    fake.modes.clear();
    fake.answers = {kDisplayChangeBadMode, kDisplayChangeSuccessful, kDisplayChangeSuccessful};
    EXPECT_EQ(switchDisplayMode(800, 600, 16), 1);
    ASSERT_EQ(fake.calls.size(), 3u);
    expectChange(fake.calls[0], "fields", 0, {800, 600, 16, 0}, kThreeFields);
}

} // namespace
