// Pacing frames by the clock.
#include "native/running/frame_pacer.h"

double FramePacer::waitMs(double nowMs) const {
    return nowMs < nextMs_ ? nextMs_ - nowMs : 0.0;
}

void FramePacer::frameStarted(double nowMs) {
    // A wake-up a little late keeps the grid, so the rate stays at the cap on average.
    nextMs_ += intervalMs_;
    if (nextMs_ <= nowMs || nextMs_ > nowMs + intervalMs_) {
        nextMs_ = nowMs + intervalMs_;
    }
}
