// The built-in bitmaps on Windows: RT_BITMAP resources of the program's own module.
#include <windows.h>

#include "textures/bitmap_resources.h"

bool findBitmapResource(int resourceId, BitmapResource& bitmap) {
    HMODULE module = GetModuleHandleA(nullptr);
    HBITMAP handle = LoadBitmapA(module, MAKEINTRESOURCEA(resourceId));
    if (!handle) {
        return false;
    }
    BITMAP description = {};
    GetObjectA(handle, sizeof description, &description);
    DeleteObject(handle);

    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(resourceId), RT_BITMAP);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bits = loaded ? LockResource(loaded) : nullptr;
    if (!bits) {
        return false;
    }
    bitmap.bits = static_cast<const uint8_t*>(bits);
    bitmap.width = description.bmWidth;
    bitmap.height = description.bmHeight;
    return true;
}
