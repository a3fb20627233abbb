// The clock of all animation timing: milliseconds in double precision.
//
// A single-precision count of milliseconds since boot resolves only 16 ms after a day and a
// half of uptime, so readings stay in double; callers form intervals in double and round the
// result to float where the animation wants floats.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary origin (boot on Windows); never goes backwards.
double readClockMs();

// A reading taken once during static initialisation, before any window exists.
extern const double startTimeMs;

// Converts a performance-counter value to milliseconds without losing the low digits that a
// plain counter * 1000.0 / frequency would drop for a counter that has run for weeks.
double counterToMs(uint64_t counter, uint64_t frequency);

// Widens a wrapping 32-bit millisecond tick count (timeGetTime) to 64 bits, so that the wrap
// after 49.7 days does not look like a jump backwards.
struct TickWidener {
    uint32_t lastTicks = 0;
    uint64_t wraps = 0;
};
uint64_t widenTicks(TickWidener& widener, uint32_t ticks);
