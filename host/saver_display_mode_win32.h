// The display mode the saver switches to for its run, remembered so that every way out of the
// process (window destruction, a quit before it, a crash on either thread) puts the desktop's
// mode back exactly once.
#pragma once

#include <cstdint>

// True when the settings ask for a display mode of the saver's own (all three non-zero).
bool saverDisplayModeChosen();

// Switches to the settings' mode and remembers that it did; false (after the switch's own
// message) when the display refused.
bool switchToSaverDisplayMode();

// Puts the desktop's mode back when the saver switched it and has not restored it yet. Safe
// from any thread and any number of times.
void restoreSaverDisplayMode();

// True between a successful switch and its restore.
bool saverDisplayModeActive();
