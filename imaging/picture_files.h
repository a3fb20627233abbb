// Picture files for the native programs: PNG written and read through libpng, JPEG read through
// libjpeg, binary PPM read by hand.
#pragma once

#include "textures/rgb_picture.h"

#include <cstdint>
#include <string>

// Every reader checks the size a file claims against these before it allocates anything: a few
// bytes may claim a picture of gigabytes. 67,108,864 pixels (8192 x 8192) take 192 MB as RGB.
constexpr int32_t kMaxPictureSide = 16384;
constexpr uint64_t kMaxPicturePixels = 67108864;

// What libjpeg may hold for a picture whose frame header gives these sides and components: a
// progressive picture keeps every coefficient of every component until its last scan, plus row
// buffers and tables. Never more than a colour picture within the caps above needs.
uint64_t jpegMemoryLimit(uint16_t width, uint16_t height, uint8_t components);

// The texture size settings a picture is read for. A JPEG larger than its working size (chosen
// from its full size, as for any picture) is decoded at 1/2, 1/4 or 1/8 of its size, the
// smallest that still leaves both sides at or above the working size. Zero: full size.
struct TextureSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The reason a reader gives when the picture's memory cannot be had.
extern const char kNoMemoryForPicture[];

// Each returns false, with a message that names the file, when it cannot.
bool writePng(const std::string& path, const RgbPicture& image, std::string& error);
bool readPng(const std::string& path, RgbPicture& image, std::string& error);
bool readJpeg(const std::string& path, RgbPicture& image, std::string& error,
              TextureSize texture = {});
bool readPpm(const std::string& path, RgbPicture& image, std::string& error);

// A PNG, JPEG or binary PPM file, told apart by its first bytes rather than its name.
bool readPicture(const std::string& path, RgbPicture& image, std::string& error,
                 TextureSize texture = {});

// Whether a picture of that size may be decoded at all.
bool pictureSizeAllowed(uint64_t width, uint64_t height);

// Gives image a zeroed buffer of width x height pixels, or, when memory runs out, nothing and
// false: an allocation that fails is a picture too large for this machine, not a crash.
bool allocatePicture(RgbPicture& image, int32_t width, int32_t height);
