// An ordinary top-level window for Win32 tests that need one to draw in.
#pragma once

#include <windows.h>

// A visible popup window with its own device context (CS_OWNDC, as the saver's class has),
// destroyed with the object. Create and destroy it on the same thread.
class TestWindow {
public:
    TestWindow(int x, int y, int width, int height);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Dispatches this thread's pending messages for about the given time.
void pumpMessagesFor(DWORD milliseconds);

// The colour of a screen pixel as the screen shows it now.
COLORREF screenPixel(int x, int y);
