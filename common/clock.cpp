// The portable half of the clock: conversions and the start reading.
#include "common/clock.h"

const double startTimeMs = readClockMs();

double counterToMs(uint64_t counter, uint64_t frequency) {
    if (frequency == 0) {
        return 0.0;
    }
    const uint64_t wholeSeconds = counter / frequency;
    const uint64_t remainder = counter % frequency;
    return static_cast<double>(wholeSeconds) * 1000.0 +
           static_cast<double>(remainder) * 1000.0 / static_cast<double>(frequency);
}

uint64_t widenTicks(TickWidener& widener, uint32_t ticks) {
    if (ticks < widener.lastTicks) {
        ++widener.wraps;
    }
    widener.lastTicks = ticks;
    return (widener.wraps << 32) | ticks;
}
