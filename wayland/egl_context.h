// OpenGL through EGL on the compositor's connection: one context, one window surface per cover.
#pragma once

#include "wayland/wayland_state.h"

#include <string>

// Opens EGL on the display and makes the context (not yet current). False, with one line in
// error, when the display offers no 8/8/8 OpenGL configuration.
bool startEgl(wl_display* display, std::string& error);
void stopEgl();

// Gives the cover its EGL window and surface at its buffer size; false when EGL refuses.
bool attachEglSurface(CoverSurface& cover);
void detachEglSurface(CoverSurface& cover);

// Makes the context current on the cover's surface; false when EGL refuses.
bool makeCurrentOn(CoverSurface& cover);

// The host's GL seams for the core: present = swap the cover drawn for.
void useEglForFrames();
