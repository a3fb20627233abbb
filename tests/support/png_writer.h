// A minimal PNG writer: 8-bit RGB, stored (uncompressed) deflate blocks, no dependencies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb holds width x height pixels of three bytes, top row first. Returns false on a write error.
bool writePngRgb(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
