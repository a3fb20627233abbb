// The compositor's globals and its outputs, as the registry announces and withdraws them.
#pragma once

#include "native/pictures/desktop_image.h"
#include "wayland/wayland_state.h"

// Listens to the registry and binds the globals the host uses; outputs come and go through it
// for the whole run (state.outputsChanged says when).
void listenToRegistry(WaylandState& state);

// Destroys the registry and the globals bound from it, outputs and seat aside.
void releaseGlobals(WaylandState& state);

// The output's rectangle in the layout, in logical pixels: xdg-output's when it spoke, else the
// geometry's position and the mode's size over the scale.
ScreenRect outputRect(const Output& output);

// The outputs described so far (done), as the layout sees them: the first announced is the
// primary. Sets each output's monitor index.
ScreenShape readScreenShape(WaylandState& state);

// Destroys the output's objects and its cover; the caller drops it from the list.
void releaseOutput(Output& output);
