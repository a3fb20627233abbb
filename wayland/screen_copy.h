// What the outputs show before they are covered, through the compositor's screen copy.
#pragma once

#include "native/pictures/desktop_image.h"
#include "wayland/wayland_state.h"

#include <string>

// Copies every output of the shape (without the cursor) into one picture of the whole layout,
// in logical pixels, each output's copy stretched over its rectangle. False, with the reason in
// whyNot, when one cannot be copied.
bool copyOutputs(WaylandState& state, const ScreenShape& shape, DesktopImage& image,
                 std::string& whyNot);
