// Loading the picture file of the Custom source.
#pragma once

#include <string>

// Decodes the file, sets the working size from it and the texture size settings, and fills the
// source picture. Returns false, with one line in error, when it cannot.
bool loadCustomPicture(const std::string& path, std::string& error);
