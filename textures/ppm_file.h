// Reading a binary PPM picture file.
#pragma once

#include "textures/rgb_picture.h"

#include <string>

// Reads a binary 8-bit PPM (P6) file of at most 16384 pixels a side. Returns false, with a
// one-line message naming the file, when it cannot.
bool readPpmFile(const std::string& path, RgbPicture& picture, std::string& error);
