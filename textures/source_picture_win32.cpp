// readPixels: one GetDIBits call instead of a GetPixel per pixel, which is very slow under Wine.
#include "textures/source_picture_win32.h"

#include "textures/source_picture.h"

#include <cstring>
#include <vector>

bool readPixels(HDC deviceContext) {
    return readPixels(deviceContext, sourcePicture);
}

bool readPixels(HDC deviceContext, SourcePicture& picture) {
    if (!allocateSourcePixels(picture)) {
        return false;
    }
    const int width = picture.width;
    const int height = picture.height;
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(deviceContext, OBJ_BITMAP));

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first, as the buffer wants
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    const size_t rowBytes = 3u * static_cast<size_t>(width);
    const size_t paddedRowBytes = (rowBytes + 3u) & ~static_cast<size_t>(3u);
    std::vector<uint8_t> rows;
    try {
        rows.resize(paddedRowBytes * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        freeSourcePixels(picture);
        return false;
    }
    // GetDIBits wants the bitmap out of any device context while it reads it.
    HBITMAP placeholder = CreateCompatibleBitmap(deviceContext, 1, 1);
    SelectObject(deviceContext, placeholder);
    const int copied = GetDIBits(deviceContext, bitmap, 0, static_cast<UINT>(height), rows.data(),
                                 &info, DIB_RGB_COLORS);
    SelectObject(deviceContext, bitmap);
    DeleteObject(placeholder);
    if (copied != height) {
        freeSourcePixels(picture);
        return false;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(&picture.pixels[rowBytes * y], &rows[paddedRowBytes * y], rowBytes);
    }
    return true;
}
