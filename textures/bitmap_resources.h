// The program's built-in bitmaps, found by resource id.
#pragma once

#include <cstdint>

constexpr int kSkyBitmapId = 129;
constexpr int kRoomBitmapId = 131;
constexpr int kDigitStripBitmapId = 133;

// A packed DIB: a BITMAPINFOHEADER (whose first four bytes give its own size), no colour
// table, then 24-bit rows, bottom row first, padded to 4 bytes.
struct BitmapResource {
    const uint8_t* bits = nullptr; // the header; never freed
    int32_t width = 0;
    int32_t height = 0;
};

// Finds the bitmap with this id among the program's resources: the module's RT_BITMAP
// resources on Windows, the embedded copies of the same bytes elsewhere. Returns false when
// there is none.
bool findBitmapResource(int resourceId, BitmapResource& bitmap);
