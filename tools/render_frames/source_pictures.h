// Pictures for the Desktop and Custom sources of render_frames.
#pragma once

#include <string>

// Fills the source picture buffer at its working size with a test picture: colour bars under a
// white grid of 32-pixel squares, with a dark diagonal, so that ripples show how they bend it.
bool makeTestPicture();

// Fills the source picture buffer at its working size from a PNG, JPEG or binary PPM file,
// stretched as the saver stretches a picture. Returns false, with a message, when it cannot.
bool loadPicture(const std::string& path, std::string& error);
