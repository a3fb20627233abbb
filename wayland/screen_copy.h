// What the outputs show before they are covered, through the compositor's screen copy.
#pragma once

#include "native/pictures/desktop_image.h"
#include "wayland/wayland_state.h"

#include <string>
#include <vector>

// Copies each of the outputs (without the cursor) into the picture of the layout, widened to
// cover them (one pixel per logical pixel), each copy stretched over its output's rectangle.
// False, with the reason in whyNot, when one cannot be copied.
bool copyOutputs(WaylandState& state, const std::vector<Output*>& outputs, DesktopImage& image,
                 std::string& whyNot);
