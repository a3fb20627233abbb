// What the source needs from the compositor, read before the outputs are covered.
#pragma once

#include "native/options/saver_options.h"
#include "native/pictures/desktop_image.h"
#include "wayland/wayland_state.h"

#include <string>

// The Desktop picture of every output, kept for every layout to come, and how it was had.
struct DesktopPictures {
    DesktopImage image;
    bool screenCopied = false; // else the wallpaper file's
};

// For Desktop, the picture of every output: their screen copy where the compositor offers it
// (never under --background, which would copy the windows), else the desktop's wallpaper file,
// else Chomify with one line. For Custom the picture file, prepared at once, or Chomify with
// one line when it cannot be had.
void readSourcePicture(WaylandState& state, const HostOptions& host, DesktopPictures& desktop);

// For Desktop, the pictures of outputs that joined, before they are covered: their screen copy,
// or the wallpaper file read again for the whole new layout. An output whose picture cannot be
// had shows black under the water, with one line.
void readJoiningOutputs(WaylandState& state, DesktopPictures& desktop);
