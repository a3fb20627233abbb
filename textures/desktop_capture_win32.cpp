// captureDesktop: the whole screen, stretched into the source picture buffer.
#include <windows.h>

#include "textures/desktop_capture_win32.h"

#include "common/preview_flag.h"
#include "textures/source_picture.h"
#include "textures/source_picture_win32.h"

namespace {

constexpr int32_t kPreviewPictureWidth = 128;
constexpr int32_t kPreviewPictureHeight = 64;

} // namespace

void captureDesktop() {
    if (isPreview) {
        sourcePicture.width = kPreviewPictureWidth;
        sourcePicture.height = kPreviewPictureHeight;
    }
    HWND desktop = GetDesktopWindow();
    HDC desktopDc = GetWindowDC(desktop);
    RECT rect = {};
    GetWindowRect(desktop, &rect);

    HDC memoryDc = CreateCompatibleDC(desktopDc);
    HBITMAP bitmap = CreateCompatibleBitmap(desktopDc, sourcePicture.width, sourcePicture.height);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    if (bitmap != nullptr) {
        // The memory context keeps its default stretch mode, BLACKONWHITE.
        StretchBlt(memoryDc, 0, 0, sourcePicture.width, sourcePicture.height, desktopDc, 0, 0,
                   rect.right, rect.bottom, SRCCOPY);
        readPixels(memoryDc);
    } else {
        freeSourcePixels(); // an absurd working size: no picture
    }
    ReleaseDC(desktop, desktopDc);
    // NOTE: a bitmap still selected into a device context cannot be deleted; it would leak.
    SelectObject(memoryDc, previous);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
}
