// The camera's sway and zoom: four triangle waves, advanced by frame time.
#pragma once

#include <cstdint>

// One triangle wave between low and high. The output changes by 30 * (high - low) / period^2
// per second of frame time, and starts at (high - low) / (2 * period), not mid-range.
struct CameraOscillator {
    float low;           // lower turning bound
    float high;          // upper turning bound; the constant output when step is 0
    float step;          // output change per counter unit, times the period; 0 holds high
    float inversePeriod; // 1 / period, or 0 when period is 0
    float counter;       // position of the wave, advanced by 30 per second
    int32_t period;      // the Time setting, truncated toward zero
    int32_t rising;      // the output is moving toward high
};

// The oscillators of "Enable Movement": set up by setupScene, advanced only by renderFrame.
// Render thread only.
struct CameraOscillators {
    CameraOscillator rotateX;
    CameraOscillator rotateY;
    CameraOscillator rotateZ;
    CameraOscillator zoom;
};

extern CameraOscillators cameraOscillators;

// Prepares one oscillator from a row of the Movement settings. A rotation swings between
// -amplitude and +amplitude; the zoom between 10 / amplitude and amplitude / 10, and holds
// amplitude / 10 unless that is the larger bound and time is not 0.
void setupOscillator(CameraOscillator& oscillator, float amplitude, float time, bool isZoom);

// Returns the current output, then moves the wave on by increment (30 per second of frame
// time). A bound that has been passed turns the wave from the next call on.
float advanceOscillator(CameraOscillator& oscillator, float increment);
