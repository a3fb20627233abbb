// One frame: clear, time it, the frame-rate overlay, the camera, the surface, the drips, present.
#pragma once

// The clock reading at the start of the previous frame; set at program start, then by every
// frame. Render thread only once frames run.
extern double lastFrameTimeMs;

// Composes and presents one frame on the window whose device context is given (opaque here).
// Draws the heights of the previous update under the camera of the previous frame.
void renderFrame(void* deviceContext);

// Presents the finished back buffer of the render thread's context. The host implements it for
// its window system; scene code never sees the window system itself.
void presentFrame(void* deviceContext);
