// The tool's readClockMs: it replaces the real clock at link time (the library's clock file is
// only pulled in for a readClockMs that nothing else defines).
#include "stepped_clock.h"

#include "common/clock.h"

namespace {

// Constant-initialised: static initialisers elsewhere read it before main runs.
double steppedNowMs = 0.0;

} // namespace

double readClockMs() {
    return steppedNowMs;
}

void advanceSteppedClock(double milliseconds) {
    steppedNowMs += milliseconds;
}
