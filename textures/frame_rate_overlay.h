// The frame-rate overlay: the rate as bright green digits cut from the digit strip.
#pragma once

// Draws the rate, rounded to a whole number, one unit square per digit from the current origin
// to the right. The caller sets up the 50 x 38 overlay projection, the origin and lighting.
void drawFrameRate(float rate);
