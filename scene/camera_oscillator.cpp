// Setting up and advancing the camera oscillators.
#include "scene/camera_oscillator.h"

#include <cmath>
#include <limits>

CameraOscillators cameraOscillators;

namespace {

constexpr float kZoomPerAmplitude = 0.1f;

// Truncates toward zero; a Time that no int can hold (only a hand-edited store has one) is
// clamped, and NaN counts as 0, rather than left to an undefined conversion.
int32_t periodFor(float time) {
    if (!(std::fabs(time) < 2147483648.0f)) {
        if (std::isnan(time)) {
            return 0;
        }
        return time > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(time);
}

} // namespace

void setupOscillator(CameraOscillator& oscillator, float amplitude, float time, bool isZoom) {
    CameraOscillator o{};
    if (isZoom) {
        o.high = kZoomPerAmplitude * amplitude;
        o.low = o.high != 0.0f ? 1.0f / o.high : std::numeric_limits<float>::infinity();
    } else {
        o.low = -amplitude;
        o.high = amplitude;
    }
    o.period = periodFor(time);
    o.counter = static_cast<float>(o.period / 2);
    o.rising = 1;
    if (o.period != 0) {
        o.inversePeriod = 1.0f / static_cast<float>(o.period);
        const bool sweeps = !isZoom || o.high > o.low;
        o.step = sweeps ? (o.high - o.low) / static_cast<float>(o.period) : 0.0f;
    }
    oscillator = o;
}

float advanceOscillator(CameraOscillator& oscillator, float increment) {
    CameraOscillator& o = oscillator;
    if (o.step == 0.0f) {
        return o.high;
    }
    const float output = o.inversePeriod * o.counter * o.step;
    if (o.rising) {
        if (output > o.high) {
            o.rising = 0;
        }
        o.counter += increment;
    } else {
        if (output < o.low) {
            o.rising = 1;
        }
        o.counter -= increment;
    }
    return output;
}
