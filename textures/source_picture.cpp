// The source picture buffer and its allocation.
#include "textures/source_picture.h"

#include <new>

SourcePicture sourcePictures[kMaxMonitors];
SourcePicture& sourcePicture = sourcePictures[0];

uint64_t sourcePictureBytes(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSourcePictureSide ||
        height > kMaxSourcePictureSide) {
        return 0;
    }
    return 3ull * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
}

bool allocateSourcePixels(SourcePicture& picture) {
    freeSourcePixels(picture);
    const uint64_t bytes = sourcePictureBytes(picture.width, picture.height);
    if (bytes == 0 || bytes > SIZE_MAX) {
        return false;
    }
    picture.pixels.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bytes)]);
    return picture.pixels != nullptr;
}

bool allocateSourcePixels() {
    return allocateSourcePixels(sourcePicture);
}

void freeSourcePixels(SourcePicture& picture) {
    picture.pixels.reset();
}

void freeSourcePixels() {
    for (SourcePicture& picture : sourcePictures) {
        freeSourcePixels(picture);
    }
}
