// The program's own procedure for the saver window: creation and destruction steps, the first
// mouse moves that never count, and the input that ends a pause in drawing.
#include <windows.h>

#include <mmsystem.h>

#include "host/saver_window_proc_win32.h"

#include "common/preview_flag.h"
#include "common/random.h"
#include "host/display_power_win32.h"
#include "host/monitor_viewports_win32.h"
#include "host/render_thread_win32.h"
#include "host/saver_display_mode_win32.h"
#include "host/saver_window_win32.h"
#include "settings/presets.h"
#include "settings/registry_store.h"
#include "settings/saver_settings.h"
#include "textures/desktop_capture_win32.h"
#include "textures/picture_file_win32.h"
#include "textures/source_picture.h"

#include <climits>
#include <cstdio>

int32_t mouseMoveCount = 0;
POINT pausePointer = {0, 0};
void (*randomPresetPick)() = pickRandomPreset;

namespace {

constexpr int kStopPolls = 10;
constexpr DWORD kStopPollMs = 100;
constexpr size_t kMessageBufferSize = 512;

// Shows the custom picture's failure; the path is cut at the buffer's size in case the store
// handed in one without its terminating zero.
void reportCustomPictureError(HWND window, HRESULT result) {
    char text[kMessageBufferSize];
    std::snprintf(text, sizeof text, "Error loading custom image \"%.*s\".\nHRESULT = %08lx",
                  kPathBufferSize, saverSettings.customPicturePath,
                  static_cast<unsigned long>(result));
    MessageBoxA(window, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

// Prepares the source picture; false when the saver has to end (the quit is then posted).
bool prepareSourcePicture(HWND window) {
    sourcePicture.width = saverSettings.textureWidth;
    sourcePicture.height = saverSettings.textureHeight;
    if (saverSettings.sourceTexture == kSourceDesktop) {
        captureDesktop();
    }
    if (saverSettings.sourceTexture == kSourceCustom) {
        const HRESULT result = loadCustomPicture();
        if (FAILED(result)) {
            reportCustomPictureError(window, result);
            PostQuitMessage(0);
            return false;
        }
    }
    return true;
}

// Switches to the chosen display mode; false when the saver has to end (the quit is then
// posted).
bool switchDisplayForRun(HWND window) {
    if (isPreview || !saverDisplayModeChosen()) {
        return true;
    }
    if (switchToSaverDisplayMode()) {
        // Over the virtual screen as the switch left it, so the other monitors stay covered.
        const ScreenRect screen =
            virtualScreenAfterSwitch(saverSettings.displayWidth, saverSettings.displayHeight);
        SetWindowPos(window, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                     screen.bottom - screen.top, SWP_SHOWWINDOW);
        return true;
    }
    MessageBoxA(window, "Error setting resolution", "MRFX", MB_OK | MB_ICONEXCLAMATION);
    PostQuitMessage(0);
    return false;
}

void startRenderThread(HWND window) {
    if (!startRendering(window)) {
        freeSourcePixels(); // nobody will upload it
    }
}

// The random preset comes before the picture, so a preset's source gets its picture (the
// desktop is captured for Desktop), and the render thread never writes the settings.
// Once a quit has been posted the message loop ends without destroying the window, so
// nothing that only destruction undoes may start: no display switch and no render thread.
void onCreate(HWND window) {
    crt::srand(timeGetTime());
    loadSettings();
    if (saverSettings.useRandomPreset) {
        randomPresetPick();
    }
    if (!prepareSourcePicture(window)) {
        return;
    }
    if (!switchDisplayForRun(window)) {
        freeSourcePixels(); // prepared for a run that will not draw
        return;
    }
    startRenderThread(window);
    if (!isPreview) {
        registerDisplayState(window);
    }
}

void waitForRenderThread() {
    for (int poll = 0; poll < kStopPolls && renderThread.load() != nullptr; ++poll) {
        Sleep(kStopPollMs);
    }
}

// The settings are stored here because the process ends without running exit handlers.
void onDestroy() {
    saveSettings();
    if (!isPreview) {
        restoreSaverDisplayMode();
    }
    unregisterDisplayState();
    stopRendering();
    waitForRenderThread();
    PostQuitMessage(0);
}

// Returns true when the move is one of the first ones, which never count.
bool dropEarlyMouseMove() {
    const bool early = mouseMoveCount < kIgnoredMouseMoves;
    if (mouseMoveCount < INT32_MAX) {
        ++mouseMoveCount;
    }
    return early;
}

// Drawing pauses while every display is off. Nothing here closes the saver: the message goes on
// to the dismissal rules, which leave the display state alone.
void followDisplayPower(DisplayPower power) {
    if (power == DisplayPower::Off) {
        if (renderPaused.load() == 0) {
            GetCursorPos(&pausePointer);
        }
        pauseRendering();
    } else if (power == DisplayPower::On) {
        resumeRendering();
    }
}

// NOTE: Windows and Wine also send moves that go nowhere (a window appearing under the pointer),
// so only a pointer found away from where it was at the pause counts.
void resumeOnPointerMove() {
    if (renderPaused.load() == 0) {
        return;
    }
    POINT pointer = {};
    GetCursorPos(&pointer);
    if (pointer.x != pausePointer.x || pointer.y != pausePointer.y) {
        resumeRendering();
    }
}

// NOTE: when input wakes the display, Windows XP and 9x send neither SC_MONITORPOWER -1 nor a
// notification, and a display that never went dark sends nothing: input resumes drawing itself,
// and the dismissal rules still judge it afterwards. Any key or button going either way wakes
// the display, and so does either wheel; a second click comes as a double click (the class asks
// for them). Pointer moves have their own rule; WM_CHAR and WM_APPCOMMAND only follow a key or a
// button listed here.
bool wakesTheDisplay(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
    case WM_XBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case kMouseHorizontalWheel:
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SIZE:
        // The render thread sets its viewport once; nothing follows a resize.
        return 0;
    case WM_MOUSEMOVE:
        if (!isPreview) {
            resumeOnPointerMove();
            if (dropEarlyMouseMove()) {
                return 0;
            }
        }
        break;
    case WM_POWERBROADCAST:
        if (wParam == kPowerSettingChange) {
            followDisplayPower(displayPowerFromNotice(lParam));
        }
        break;
    case WM_SYSCOMMAND:
        if (!isPreview) {
            followDisplayPower(displayPowerFromCommand(wParam, lParam));
        }
        break;
    default:
        if (wakesTheDisplay(message)) {
            resumeRendering();
        }
        break;
    }
    return HostDefaultProc(window, message, wParam, lParam);
}
