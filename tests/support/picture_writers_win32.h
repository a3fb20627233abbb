// Picture files written from scratch for the picture-loading tests: BMP, ICO, GIF, a flat-block
// baseline JPEG, EMF and placeable WMF.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace picture_writers {

using Bytes = std::vector<uint8_t>;
using PixelColor = std::function<COLORREF(int x, int y)>; // x from the left, y from the top

bool writeFile(const std::string& path, const Bytes& bytes);

// A 24-bit bitmap file, bottom row first.
Bytes makeBmp(int width, int height, const PixelColor& color);

// A 24-bit icon; pixels where transparent() holds are masked out and leave what lies beneath.
Bytes makeIco(int size, const PixelColor& color,
              const std::function<bool(int x, int y)>& transparent);

// A GIF with a four-colour palette; transparentIndex < 0 means no transparency.
Bytes makeGif(int width, int height, const COLORREF (&palette)[4],
              const std::function<int(int x, int y)>& index, int transparentIndex = -1);

// A baseline JPEG in which every 8 x 8 block has the flat colour of its top-left pixel.
Bytes makeJpeg(int width, int height, const PixelColor& color);

// Draws on a metafile or enhanced-metafile context, in pixels of a 96 DPI device.
using MetafileDrawing = std::function<void(HDC)>;

void fillRect(HDC dc, int left, int top, int right, int bottom, COLORREF color);

// An enhanced metafile whose frame is width x height pixels at 96 DPI, drawn in screen pixels.
bool writeEmf(const std::string& path, int width, int height, const MetafileDrawing& draw);

// A Windows metafile with the placeable (Aldus) header, width x height units at 96 per inch.
bool writePlaceableWmf(const std::string& path, int width, int height, const MetafileDrawing& draw);

} // namespace picture_writers
