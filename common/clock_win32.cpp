// The clock on Windows: the performance counter, or the multimedia timer where there is none.
#include "common/clock.h"

#include <windows.h>

#include <mmsystem.h>

namespace {
// Only the render thread reads the clock once frames run; before that, static initialisation.
TickWidener fallbackTicks;
} // namespace

double readClockMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    // Both calls are made on every reading: a counter that fails later falls back at once.
    if (QueryPerformanceFrequency(&frequency) && QueryPerformanceCounter(&counter) &&
        frequency.QuadPart > 0 && counter.QuadPart >= 0) {
        return counterToMs(static_cast<uint64_t>(counter.QuadPart),
                           static_cast<uint64_t>(frequency.QuadPart));
    }
    return static_cast<double>(widenTicks(fallbackTicks, timeGetTime()));
}
