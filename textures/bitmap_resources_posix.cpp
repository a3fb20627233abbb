// The built-in bitmaps natively: the same bytes the Windows build carries as resources.
#include "textures/bitmap_resources.h"

#include <cstring>

namespace {

struct EmbeddedBitmap {
    int resourceId;
    const unsigned char* bits;
};

#include "builtin_bitmaps.inc"

int32_t headerField(const uint8_t* header, int offset) {
    int32_t value;
    std::memcpy(&value, header + offset, sizeof value);
    return value;
}

} // namespace

bool findBitmapResource(int resourceId, BitmapResource& bitmap) {
    for (const EmbeddedBitmap& embedded : kEmbeddedBitmaps) {
        if (embedded.resourceId == resourceId) {
            bitmap.bits = embedded.bits;
            bitmap.width = headerField(embedded.bits, 4);
            bitmap.height = headerField(embedded.bits, 8);
            return true;
        }
    }
    return false;
}
