// The surfaces that cover the outputs: made, configured, drawn on and destroyed.
#pragma once

#include "wayland/wayland_state.h"

// Covers the output with a layer surface, or without layer shell with a full-screen toplevel.
// Its first configure comes later; it is drawn on only once configured.
void coverOutput(WaylandState& state, Output& output);
void destroyCover(CoverSurface& cover);

// Answers the compositor's pings; a client that does not is taken for hung.
void listenToWmBase(WaylandState& state);

// Whether the cover may be drawn now: configured, and its last frame shown.
bool readyToDraw(const CoverSurface& cover);

// Readies the output's cover for a frame: its EGL window at the buffer size its scale asks for,
// the context current on it, the configure it answers acked, a frame callback asked for, and the
// frames' viewport on its whole buffer showing its own picture. The frame's swap then commits
// it all. False when EGL refuses the surface.
bool prepareFrame(Output& output);

// Records a configure: the size and the serial that the next commit acks.
void noteConfigure(CoverSurface& cover, uint32_t serial, int width, int height);

// Where layer shell or xdg-shell is used: the roles of the surface (in their own files).
void giveLayerRole(WaylandState& state, Output& output);
void giveToplevelRole(WaylandState& state, Output& output);
void ackConfigure(CoverSurface& cover);
