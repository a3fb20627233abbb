// Checking that a Windows bitmap file holds every pixel row its header promises.
#include "textures/bitmap_file_check.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kUncompressed = 0; // BI_RGB
constexpr uint32_t kBitFields = 3;    // BI_BITFIELDS: uncompressed rows after three masks

uint32_t read16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t read32(const uint8_t* p) {
    return read16(p) | (read16(p + 2) << 16);
}

struct BitmapLayout {
    int64_t width;
    int64_t height; // negative for top-down rows
    uint32_t bitCount;
    uint32_t compression;
    uint32_t imageBytes; // only meaningful when compressed
};

bool readLayout(const uint8_t* data, uint32_t size, BitmapLayout& layout) {
    if (size < kFileHeaderBytes + 4) {
        return false;
    }
    const uint8_t* header = data + kFileHeaderBytes;
    const uint32_t headerBytes = read32(header);
    if (headerBytes == kCoreHeaderBytes && size >= kFileHeaderBytes + kCoreHeaderBytes) {
        layout = {read16(header + 4), read16(header + 6), read16(header + 10), kUncompressed, 0};
        return true;
    }
    if (headerBytes >= kInfoHeaderBytes && size >= kFileHeaderBytes + kInfoHeaderBytes) {
        layout = {static_cast<int32_t>(read32(header + 4)),
                  static_cast<int32_t>(read32(header + 8)), read16(header + 14),
                  read32(header + 16), read32(header + 20)};
        return true;
    }
    return false;
}

} // namespace

bool bitmapFileHoldsItsPixels(const uint8_t* data, uint32_t size) {
    if (data == nullptr || size < 2 || data[0] != 'B' || data[1] != 'M') {
        return true;
    }
    BitmapLayout layout;
    if (!readLayout(data, size, layout) || layout.width <= 0 || layout.height == 0 ||
        layout.bitCount == 0) {
        return false;
    }
    const uint64_t pixelOffset = read32(data + 10);
    // In 64 bits, where the most negative height has a positive counterpart.
    const int64_t height = layout.height;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    uint64_t pixelBytes = layout.imageBytes;
    if (layout.compression == kUncompressed || layout.compression == kBitFields) {
        // Each row is padded to 4 bytes. One row fits in 64 bits, but rows times its size may
        // not: the rows are counted against what the file can hold before they are multiplied.
        const uint64_t rowBytes =
            (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
        if (rows > size / rowBytes) {
            return false;
        }
        pixelBytes = rowBytes * rows;
    }
    return pixelBytes > 0 && pixelOffset + pixelBytes <= size;
}
