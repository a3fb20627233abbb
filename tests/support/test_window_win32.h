// An ordinary top-level window for Win32 tests that need one to draw in.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

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

// True when the counter changes within the given time. Dispatches this thread's messages
// meanwhile and looks every millisecond, so that it returns within a frame or two of the change.
bool changesWithin(const std::atomic<uint32_t>& counter, DWORD milliseconds);

// The colour of a screen pixel as the screen shows it now.
COLORREF screenPixel(int x, int y);
