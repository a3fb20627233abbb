// What the source needs from the compositor, read before any output is covered.
#pragma once

#include "native/options/saver_options.h"
#include "native/pictures/desktop_image.h"
#include "wayland/wayland_state.h"

#include <string>

// For Desktop, the picture of every output: their screen copy where the compositor offers it
// (never under --background, which would copy the windows), else the desktop's wallpaper file,
// else Chomify with one line. For Custom the picture file, prepared at once; false, with one
// line in error, when it cannot be had.
bool readSourcePicture(WaylandState& state, const HostOptions& host, DesktopImage& desktop,
                       std::string& error);
