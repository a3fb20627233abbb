// A clock that only moves when told to, so that rendered frames come out the same every run.
#pragma once

// Moves the clock that readClockMs reports on by the given milliseconds.
void advanceSteppedClock(double milliseconds);
