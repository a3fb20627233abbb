// Capturing the screen into the source pictures, one per monitor.
#pragma once

// Stretches each monitor's rectangle of the screen into its source picture (the primary's
// first) at the working size that the first picture holds. The preview takes one picture of
// the primary's screen at 128 x 64. Called on the window thread while the saver window is
// created, before any display-mode switch.
void captureDesktop();
