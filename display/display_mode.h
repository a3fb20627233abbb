// Switching the primary display to a chosen mode for the run, with fallbacks, and back.
#pragma once

#include <cstdint>

// Switches to width x height at depth bits per pixel, trying the exact modes, then the request
// as three fields, then the depth and the resolution one after the other. Called with 0, 0, 0
// it returns the display to the mode in force before. Returns 1 on success; 0 once every
// attempt has failed and the failure message has been shown. Window thread only.
int switchDisplayMode(int32_t width, int32_t height, int32_t depth);
