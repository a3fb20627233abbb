// Picture files for the native programs: PNG written and read through libpng, JPEG read through
// libjpeg, binary PPM read by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// width x height pixels of three bytes (red, green, blue), top row first, rows unpadded.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// Pictures larger than this on either side are refused rather than decoded.
constexpr int kMaxPictureSide = 16384;

// Each returns false, with a message that names the file, when it cannot.
bool writePng(const std::string& path, const RgbImage& image, std::string& error);
bool readPng(const std::string& path, RgbImage& image, std::string& error);
bool readJpeg(const std::string& path, RgbImage& image, std::string& error);
bool readPpm(const std::string& path, RgbImage& image, std::string& error);

// A PNG, JPEG or binary PPM file, told apart by its first bytes rather than its name.
bool readPicture(const std::string& path, RgbImage& image, std::string& error);
