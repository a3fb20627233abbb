#include "common/clock.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kThirtyDaysInSeconds = 30ull * 24 * 60 * 60;

TEST(Clock, ThirtyDaysOfUptimeStillResolveAMillisecond) {
    for (uint64_t frequency : {3579545ull, 10000000ull, 2400000000ull}) {
        const uint64_t counter = kThirtyDaysInSeconds * frequency + 12345;
        const double before = counterToMs(counter, frequency);
        const double after = counterToMs(counter + frequency / 1000, frequency);
        const float interval = static_cast<float>((after - before) * 0.001);
        EXPECT_NEAR(interval, 0.001f, 0.000002f) << "frequency " << frequency;
    }
}

TEST(Clock, CounterConvertsToMilliseconds) {
    EXPECT_DOUBLE_EQ(counterToMs(0, 1000), 0.0);
    EXPECT_DOUBLE_EQ(counterToMs(1500, 1000), 1500.0);
    EXPECT_DOUBLE_EQ(counterToMs(15, 10000), 1.5);
    EXPECT_DOUBLE_EQ(counterToMs(123, 0), 0.0);
}

TEST(Clock, TickWrapAfterFortyNineDaysIsAShortStepForward) {
    TickWidener widener;
    const uint64_t before = widenTicks(widener, 0xFFFFFFF0u);
    const uint64_t after = widenTicks(widener, 0x10u);
    EXPECT_EQ(after - before, 32u);
    EXPECT_EQ(widenTicks(widener, 0x20u) - after, 16u);
}

TEST(Clock, ReadingsNeverGoBackwards) {
    double previous = readClockMs();
    EXPECT_GE(previous, startTimeMs);
    for (int i = 0; i < 1000; ++i) {
        const double now = readClockMs();
        ASSERT_GE(now, previous);
        previous = now;
    }
}

} // namespace
