// The Win32 test window and screen readback.
#include <windows.h>

#include "support/test_window_win32.h"

namespace {

const char kClassName[] = "MereflowTestWindow";

void registerClassOnce() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass); // fails harmlessly when already registered
}

void dispatchPendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

TestWindow::TestWindow(int x, int y, int width, int height) {
    registerClassOnce();
    window_ =
        CreateWindowExA(WS_EX_TOPMOST, kClassName, "Mereflow test", WS_POPUP | WS_VISIBLE, x, y,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    pumpMessagesFor(100);
}

TestWindow::~TestWindow() {
    if (window_) {
        DestroyWindow(window_);
    }
    pumpMessagesFor(50);
}

void pumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        dispatchPendingMessages();
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

bool changesWithin(const std::atomic<uint32_t>& counter, DWORD milliseconds) {
    const uint32_t start = counter.load();
    const DWORD begin = GetTickCount();
    while (counter.load() == start && GetTickCount() - begin < milliseconds) {
        dispatchPendingMessages();
        Sleep(1);
    }
    return counter.load() != start;
}

COLORREF screenPixel(int x, int y) {
    // NOTE: GetPixel on the screen reads what X shows, OpenGL output included.
    const HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
}
