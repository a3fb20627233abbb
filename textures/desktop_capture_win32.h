// Capturing the whole screen into the source picture buffer.
#pragma once

// Stretches the whole screen into the source picture at the working size (128 x 64 in the
// preview). Called on the window thread while the saver window is created.
void captureDesktop();
