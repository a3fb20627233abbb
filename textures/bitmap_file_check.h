// A guard before decoding: Windows bitmap files whose pixel rows run past the end of the file.
#pragma once

#include <cstdint>

// False when data is a Windows bitmap file ("BM") whose header is cut short or malformed, or
// whose pixels, as the header lays them out, run past size bytes; true for anything else,
// which the decoder judges by itself.
// NOTE: Wine's OLE decoder trusts the header and reads the rows past the end of the data.
bool bitmapFileHoldsItsPixels(const uint8_t* data, uint32_t size);
