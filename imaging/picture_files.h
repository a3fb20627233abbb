// Picture files for the native programs: PNG written and read through libpng, JPEG read through
// libjpeg, binary PPM read by hand.
#pragma once

#include "textures/rgb_picture.h"

#include <string>

// Pictures larger than this on either side are refused rather than decoded.
constexpr int kMaxPictureSide = 16384;

// Each returns false, with a message that names the file, when it cannot.
bool writePng(const std::string& path, const RgbPicture& image, std::string& error);
bool readPng(const std::string& path, RgbPicture& image, std::string& error);
bool readJpeg(const std::string& path, RgbPicture& image, std::string& error);
bool readPpm(const std::string& path, RgbPicture& image, std::string& error);

// A PNG, JPEG or binary PPM file, told apart by its first bytes rather than its name.
bool readPicture(const std::string& path, RgbPicture& image, std::string& error);
