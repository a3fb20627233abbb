// captureDesktop: each monitor's rectangle of the screen, stretched into its source picture.
#include <windows.h>

#include "textures/desktop_capture_win32.h"

#include "common/monitor_list_win32.h"
#include "common/preview_flag.h"
#include "textures/source_picture.h"
#include "textures/source_picture_win32.h"

namespace {

constexpr int32_t kPreviewPictureWidth = 128;
constexpr int32_t kPreviewPictureHeight = 64;

// The desktop window's rectangle: the primary monitor's.
ScreenRect desktopWindowRect() {
    RECT rect = {};
    GetWindowRect(GetDesktopWindow(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void captureRect(HDC screenDc, const ScreenRect& rect, SourcePicture& picture) {
    HDC memoryDc = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, picture.width, picture.height);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    if (bitmap != nullptr) {
        // The memory context keeps its default stretch mode, BLACKONWHITE.
        StretchBlt(memoryDc, 0, 0, picture.width, picture.height, screenDc, rect.left, rect.top,
                   rect.right - rect.left, rect.bottom - rect.top, SRCCOPY);
        readPixels(memoryDc, picture);
    } else {
        freeSourcePixels(picture); // an absurd working size: no picture
    }
    // NOTE: a bitmap still selected into a device context cannot be deleted; it would leak.
    SelectObject(memoryDc, previous);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
}

} // namespace

void captureDesktop() {
    if (isPreview) {
        sourcePicture.width = kPreviewPictureWidth;
        sourcePicture.height = kPreviewPictureHeight;
    }
    MonitorList monitors = isPreview ? MonitorList() : listMonitors();
    if (monitors.count == 0) {
        addMonitor(monitors, desktopWindowRect(), true);
    }
    // NOTE: the screen's device context spans the virtual screen, in its coordinates, while
    // the desktop window's covers the primary monitor only.
    HDC screenDc = GetDC(nullptr);
    for (int32_t i = 0; i < kMaxMonitors; ++i) {
        SourcePicture& picture = sourcePictures[i];
        if (i >= monitors.count) {
            freeSourcePixels(picture);
            continue;
        }
        picture.width = sourcePicture.width;
        picture.height = sourcePicture.height;
        captureRect(screenDc, monitors.monitors[i], picture);
    }
    ReleaseDC(nullptr, screenDc);
}
