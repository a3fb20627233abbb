// The clock's cap on the frame rate, for displays whose buffer swap does not wait.
#pragma once

// Frames start on a grid of 1000 / maxFps milliseconds. A frame that starts late moves the grid
// rather than letting the next frames hurry to catch up.
class FramePacer {
public:
    explicit FramePacer(int maxFps) : intervalMs_(1000.0 / maxFps) {}

    // Milliseconds to wait at nowMs before the next frame may start; 0 when it may start now.
    double waitMs(double nowMs) const;

    // Call as a frame starts.
    void frameStarted(double nowMs);

private:
    double intervalMs_;
    double nextMs_ = 0; // the earliest start of the next frame; 0 before the first
};
