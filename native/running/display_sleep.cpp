// The once-a-second look at the displays' power level.
#include "native/running/display_sleep.h"

namespace {

constexpr double kReadIntervalMs = 1000;

} // namespace

SleepStep DisplaySleepWatch::step(double nowMs) {
    if (!readPower_) {
        return SleepStep::kDraw;
    }
    if (!read_ || nowMs >= nextReadMs_) {
        read_ = true;
        nextReadMs_ = nowMs + kReadIntervalMs;
        const bool wasAsleep = asleep_;
        asleep_ = readPower_() != DisplayPower::kOn;
        if (wasAsleep && !asleep_) {
            return SleepStep::kResume;
        }
    }
    return asleep_ ? SleepStep::kWait : SleepStep::kDraw;
}

double DisplaySleepWatch::msUntilCheck(double nowMs) const {
    return read_ && nowMs < nextReadMs_ ? nextReadMs_ - nowMs : 0.0;
}
