// The clock on POSIX systems: the monotonic clock.
#include "common/clock.h"

#include <ctime>

double readClockMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t nanoseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
    return counterToMs(nanoseconds, 1000000000u);
}
