#include "scene/camera_oscillator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Frames of 0.1 s: the counter moves by 3 per frame.
constexpr float kFrameSeconds = 0.1f;
constexpr float kIncrement = kFrameSeconds * 30.0f;

CameraOscillator prepared(float amplitude, float time, bool isZoom) {
    CameraOscillator o;
    setupOscillator(o, amplitude, time, isZoom);
    return o;
}

TEST(CameraOscillator, ZoomFourteenWithoutTimeHoldsOnePointFour) {
    CameraOscillator zoom = prepared(14, 0, true);
    for (int frame = 0; frame < 50; ++frame) {
        EXPECT_FLOAT_EQ(advanceOscillator(zoom, kIncrement), 1.4f);
    }
}

TEST(CameraOscillator, RotateXTenOverThirtySwingsTwoThirdsOfADegreePerSecond) {
    CameraOscillator rotate = prepared(10, 30, false);
    EXPECT_NEAR(advanceOscillator(rotate, kIncrement), 1.0f / 3.0f, 1e-5f);
    EXPECT_NEAR(advanceOscillator(rotate, kIncrement), 1.0f / 3.0f + 0.2f / 3.0f, 1e-5f);

    // Rising: the first output above 10 turns the wave, and the next one is a step higher still.
    float output = 0;
    int frames = 2;
    while ((output = advanceOscillator(rotate, kIncrement)) <= 10.0f) {
        ++frames;
        ASSERT_LT(frames, 1000);
    }
    EXPECT_LT(output, 10.0f + 0.2f / 3.0f + 1e-4f);
    EXPECT_NEAR(advanceOscillator(rotate, kIncrement), output + 0.2f / 3.0f, 1e-4f);
    EXPECT_NEAR(advanceOscillator(rotate, kIncrement), output, 1e-4f);

    // Falling by 2/3 degree per second until it goes below -10, then rising again.
    float previous = output;
    int fallingFrames = 0;
    while ((output = advanceOscillator(rotate, kIncrement)) >= -10.0f) {
        EXPECT_NEAR(previous - output, 0.2f / 3.0f, 1e-4f);
        previous = output;
        ASSERT_LT(++fallingFrames, 1000);
    }
    // 20 degrees at 2/3 degree per second: 30 s, 300 frames.
    EXPECT_NEAR(fallingFrames, 300, 2);
    advanceOscillator(rotate, kIncrement);
    const float lowest = advanceOscillator(rotate, kIncrement);
    EXPECT_GT(advanceOscillator(rotate, kIncrement), lowest);
}

TEST(CameraOscillator, RotateYTwentyFiveWithoutTimeIsAConstantTilt) {
    CameraOscillator rotate = prepared(25, 0, false);
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_EQ(advanceOscillator(rotate, kIncrement), 25.0f);
    }
}

TEST(CameraOscillator, ZoomTwentyOverTenSweepsBetweenHalfAndTwo) {
    CameraOscillator zoom = prepared(20, 10, true);
    EXPECT_FLOAT_EQ(zoom.low, 0.5f);
    EXPECT_FLOAT_EQ(zoom.high, 2.0f);
    // Frames of 10 ms, so that a bound is overshot by little.
    const float frameSeconds = 0.01f;
    const float increment = frameSeconds * 30.0f;
    EXPECT_NEAR(advanceOscillator(zoom, increment), 0.075f, 1e-6f);

    // One sweep from bound to bound takes 10^2 / 30 = 3 1/3 s; measure from turn to turn.
    float lowest = 10;
    float highest = 0;
    int turns = 0;
    int firstTurn = 0;
    int lastTurn = 0;
    int32_t rising = zoom.rising;
    for (int frame = 1; frame < 3000; ++frame) {
        const float output = advanceOscillator(zoom, increment);
        if (turns > 0) {
            lowest = std::min(lowest, output);
            highest = std::max(highest, output);
        }
        if (zoom.rising != rising) {
            rising = zoom.rising;
            (turns == 0 ? firstTurn : lastTurn) = frame;
            ++turns;
        }
    }
    ASSERT_GE(turns, 5);
    EXPECT_NEAR((lastTurn - firstTurn) * frameSeconds / (turns - 1), 10.0f / 3.0f, 0.05f);
    EXPECT_NEAR(lowest, 0.5f, 0.01f);
    EXPECT_NEAR(highest, 2.0f, 0.01f);
}

TEST(CameraOscillator, ZoomUpToTenHoldsAmplitudeOverTen) {
    const float amplitudes[] = {0, 5, 10};
    for (float amplitude : amplitudes) {
        CameraOscillator zoom = prepared(amplitude, 10, true);
        EXPECT_EQ(zoom.step, 0.0f);
        EXPECT_FLOAT_EQ(advanceOscillator(zoom, kIncrement), 0.1f * amplitude);
    }
    EXPECT_TRUE(std::isinf(prepared(0, 0, true).low));
}

TEST(CameraOscillator, TimeIsTruncatedTowardZero) {
    EXPECT_EQ(prepared(10, 30.9f, false).period, 30);
    EXPECT_EQ(prepared(10, -7.9f, false).period, -7);
    EXPECT_EQ(prepared(10, 31, false).counter, 15.0f);
    EXPECT_EQ(prepared(10, -7, false).counter, -3.0f);
    EXPECT_EQ(prepared(10, 0.5f, false).step, 0.0f);
}

TEST(CameraOscillator, AbsurdTimesGiveAWaveNotACrash) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(prepared(10, nan, false).period, 0);
    EXPECT_EQ(prepared(10, infinity, false).period, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(prepared(10, -1e20f, false).period, std::numeric_limits<int32_t>::min());
    CameraOscillator huge = prepared(10, 1e20f, false);
    EXPECT_TRUE(std::isfinite(advanceOscillator(huge, kIncrement)));
}

} // namespace
