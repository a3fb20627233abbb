// The saver window: its class, its creation over the screen or inside the preview, the message
// loop, and the class procedure that every saver needs before the program's own.
#include <windows.h>

#include "host/saver_window_win32.h"

#include "common/preview_flag.h"
#include "host/command_line.h"
#include "host/host_entry_win32.h"
#include "host/saver_window_proc_win32.h"

HWND saverWindow = nullptr;
int closingAllowed = 0;
int checkingPassword = 0;
HMODULE passwordLibrary = nullptr;
VerifyPasswordFn verifyPassword = nullptr;
UINT autoPlayMessage = 0;
DWORD lastPasswordCheck = kNoPasswordCheck;
POINT cursorAnchor = {0, 0};
HIMC savedInputContext = nullptr;

namespace {

constexpr int kIconId = 100;
constexpr UINT kSaverClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

using ImmAssociateContextFn = HIMC(WINAPI*)(HWND window, HIMC context);

struct SaverPlacement {
    RECT area; // left, top, right, bottom
    DWORD style;
    DWORD extendedStyle;
    const char* title;
};

// NOTE: CS_OWNDC gives the window the private device context that the render thread keeps
// for its whole life.
WNDCLASSA saverClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = kSaverClassStyle;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = hostInstance;
    windowClass.hIcon = LoadIconA(hostInstance, MAKEINTRESOURCEA(kIconId));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kSaverClassName;
    return windowClass;
}

SaverPlacement previewPlacement(HWND parent) {
    RECT client = {};
    GetClientRect(parent, &client);
    return {{0, 0, client.right, client.bottom}, kPreviewStyle, 0, kPreviewTitle};
}

SaverPlacement fullScreenPlacement() {
    RECT screen = {};
    HDC screenContext = GetDC(nullptr);
    GetClipBox(screenContext, &screen);
    ReleaseDC(nullptr, screenContext);
    return {screen, kFullScreenStyle, WS_EX_TOPMOST, kFullScreenTitle};
}

// Brings a full-screen saver that already runs to the front; true when there is one.
bool raiseRunningSaver() {
    HWND running = FindWindowA(kSaverClassName, kFullScreenTitle);
    if (running == nullptr || !IsWindow(running)) {
        return false;
    }
    SetForegroundWindow(running);
    return true;
}

// Runs until the quit request; returns its code. The message starts zeroed, so the code is 0
// when the loop is left at once.
WPARAM runMessageLoop() {
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.wParam;
}

ImmAssociateContextFn findImmAssociateContext() {
    // NOTE: only an input-method library that is already loaded is used; loading one here
    // would start input-method machinery the saver does not want.
    HMODULE imm = GetModuleHandleA("IMM32.DLL");
    if (imm == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<ImmAssociateContextFn>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmAssociateContext")));
}

LRESULT onCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (ImmAssociateContextFn associate = findImmAssociateContext()) {
        savedInputContext = associate(window, nullptr);
    }
    GetCursorPos(&cursorAnchor);
    if (!isPreview) {
        SetCursor(nullptr);
    }
    return SaverWindowProc(window, WM_CREATE, wParam, lParam);
}

// The quit request is posted before the program's destruction steps, so destruction always
// ends the message loop.
LRESULT onDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    if (savedInputContext != nullptr) {
        if (ImmAssociateContextFn associate = findImmAssociateContext()) {
            associate(window, savedInputContext);
        }
    }
    PostQuitMessage(0);
    return SaverWindowProc(window, WM_DESTROY, wParam, lParam);
}

// In the preview, help and context-menu requests belong to the control panel.
LRESULT onHelpRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isPreview) {
        return SaverWindowProc(window, message, wParam, lParam);
    }
    HWND parent = GetParent(window);
    if (IsWindow(parent)) {
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    }
    return 1;
}

bool isIgnoredSystemCommand(WPARAM command) {
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

} // namespace

int RunSaver(HWND parent) {
    SaverPlacement placement;
    if (parent != nullptr) {
        placement = previewPlacement(parent);
        isPreview = 1;
    } else {
        placement = fullScreenPlacement();
        if (raiseRunningSaver()) {
            return 0;
        }
        PreparePasswordCheck();
    }
    autoPlayMessage = onWin9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    const WNDCLASSA windowClass = saverClass();
    if (RegisterClassA(&windowClass)) {
        const RECT& area = placement.area;
        saverWindow =
            CreateWindowExA(placement.extendedStyle, kSaverClassName, placement.title,
                            placement.style, area.left, area.top, area.right - area.left,
                            area.bottom - area.top, parent, nullptr, hostInstance, nullptr);
    }
    int result = kInvalidModeResult;
    if (saverWindow != nullptr) {
        if (parent == nullptr) {
            SetForegroundWindow(saverWindow);
        }
        result = static_cast<int>(runMessageLoop());
    }
    ReleasePasswordCheck();
    return result;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window, wParam, lParam);
    case WM_DESTROY:
        return onDestroy(window, wParam, lParam);
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (closingAllowed) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        if (!isPreview) {
            SetCursor(nullptr);
        }
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return onHelpRequest(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
        if (!isPreview && isIgnoredSystemCommand(wParam)) {
            return 0;
        }
        break;
    case WM_TIMER:
        if (closingAllowed) {
            return 0;
        }
        Sleep(0);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (closingAllowed) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        break;
    default:
        break;
    }
    return SaverWindowProc(window, message, wParam, lParam);
}
