#include "common/clock.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(ClockWin32, FollowsTheTickCountWithinAFewMilliseconds) {
    const double clockBefore = readClockMs();
    const DWORD ticksBefore = GetTickCount();
    Sleep(200);
    const double elapsed = readClockMs() - clockBefore;
    const DWORD ticks = GetTickCount() - ticksBefore;
    EXPECT_GE(elapsed, 190.0);
    EXPECT_NEAR(elapsed, static_cast<double>(ticks), 40.0);
}

} // namespace
