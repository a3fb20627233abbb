// One frame: clear, time it, the frame-rate overlay, the camera, the surface, the drips, present.
#pragma once

#include "common/monitor_layout.h"

// The clock reading at the start of the previous frame; set at program start, then by every
// frame. Render thread only once frames run.
extern double lastFrameTimeMs;

// After a pause in drawing (every display asleep), the next frame measures its interval from
// now, so the time spent paused is no animation time. Render thread, or before it exists.
void restartFrameClock();

// Where each frame draws the water, once per monitor the window shows, each with that
// monitor's picture; the frame-rate digits go in the primary's viewport, or in the first when
// the primary is not shown. With no viewport the frame draws once into the viewport already set.
// Set by the render thread before its first frame; render thread only.
extern MonitorLayout frameViewports;

// Composes and presents one frame on the window whose device context is given (opaque here).
// Draws the heights of the previous update under the camera of the previous frame.
void renderFrame(void* deviceContext);

// The same frame for a host that shows each monitor on a surface of its own, all drawn by one
// context made current on each in turn: the interval is measured and the water moved on once
// for all of them, so that the water and the frame-rate digits keep the pace of the whole round.
// beginFrameRound measures the interval and prepares the surface for drawing; drawRoundFrame
// draws the water as it stands on the current surface and presents it on target; endFrameRound
// moves the water on.
float beginFrameRound();
void drawRoundFrame(void* target, float dt);
void endFrameRound(float dt);

// Presents the finished back buffer of the render thread's context. The host implements it for
// its window system; scene code never sees the window system itself.
void presentFrame(void* deviceContext);
