#include <windows.h>

#include "textures/desktop_capture_win32.h"

#include "common/preview_flag.h"
#include "textures/source_picture.h"

#include <gtest/gtest.h>

namespace {

// The screen's quadrants: top-left, top-right, bottom-left, bottom-right. Each channel differs
// so that a swapped byte order shows.
constexpr COLORREF kQuadrantColors[2][2] = {
    {RGB(200, 30, 40), RGB(20, 180, 60)},
    {RGB(10, 20, 230), RGB(0x40, 0x80, 0xC0)},
};
constexpr char kPatternClass[] = "MereflowCaptureTestPattern";

LRESULT CALLBACK PatternWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const LONG midX = client.right / 2;
    const LONG midY = client.bottom / 2;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const RECT quadrant = {column ? midX : 0, row ? midY : 0, column ? client.right : midX,
                                   row ? client.bottom : midY};
            HBRUSH brush = CreateSolidBrush(kQuadrantColors[row][column]);
            FillRect(dc, &quadrant, brush);
            DeleteObject(brush);
        }
    }
    EndPaint(window, &paint);
    return 0;
}

void pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

class DesktopCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PatternWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kPatternClass;
        RegisterClassA(&windowClass);
        pattern = CreateWindowExA(WS_EX_TOPMOST, kPatternClass, "pattern", WS_POPUP | WS_VISIBLE, 0,
                                  0, screenWidth, screenHeight, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(pattern, nullptr);
        UpdateWindow(pattern);
        pumpMessages(300);
    }
    void TearDown() override {
        DestroyWindow(pattern);
        pumpMessages(50);
        UnregisterClassA(kPatternClass, GetModuleHandleA(nullptr));
        freeSourcePixels();
        isPreview = 0;
    }

    COLORREF predictedColor(int x, int y, int width, int height) const {
        const bool right = x * screenWidth / width >= screenWidth / 2;
        const bool bottom = y * screenHeight / height >= screenHeight / 2;
        return kQuadrantColors[bottom][right];
    }

    // A pixel beside a quadrant boundary may mix two quadrants; the others must be exact.
    bool nearABoundary(int x, int y, int width, int height) const {
        const COLORREF color = predictedColor(x, y, width, height);
        return predictedColor(x + 1, y, width, height) != color ||
               predictedColor(x, y + 1, width, height) != color ||
               (x > 0 && predictedColor(x - 1, y, width, height) != color) ||
               (y > 0 && predictedColor(x, y - 1, width, height) != color);
    }

    int wrongPixels(int width, int height) const {
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (nearABoundary(x, y, width, height)) {
                    continue;
                }
                const COLORREF color = predictedColor(x, y, width, height);
                const uint8_t* p = &sourcePicture.pixels[3 * (static_cast<size_t>(y) * width + x)];
                wrong += p[0] != GetBValue(color) || p[1] != GetGValue(color) ||
                         p[2] != GetRValue(color);
            }
        }
        return wrong;
    }

    // Captures until the pattern shows: the X server may take a moment to show the window.
    int captureUntilThePatternShows(int width, int height) {
        int wrong = width * height;
        for (int attempt = 0; attempt < 20 && wrong != 0; ++attempt) {
            sourcePicture.width = 512;
            sourcePicture.height = 256;
            captureDesktop();
            if (!sourcePicture.pixels || sourcePicture.width != width ||
                sourcePicture.height != height) {
                return -1;
            }
            wrong = wrongPixels(width, height);
            if (wrong != 0) {
                pumpMessages(100);
            }
        }
        return wrong;
    }

    HWND pattern = nullptr;
    int screenWidth = 0;
    int screenHeight = 0;
};

TEST_F(DesktopCaptureTest, StretchesTheScreenIntoTheWorkingSizeTopRowFirstInBgr) {
    EXPECT_EQ(captureUntilThePatternShows(512, 256), 0);
    ASSERT_NE(sourcePicture.pixels, nullptr);
    // The first three bytes are the top-left pixel's blue, green and red.
    EXPECT_EQ(sourcePicture.pixels[0], 40);
    EXPECT_EQ(sourcePicture.pixels[1], 30);
    EXPECT_EQ(sourcePicture.pixels[2], 200);
    const uint8_t* last = &sourcePicture.pixels[3 * (512 * 256 - 1)];
    EXPECT_EQ(last[0], 0xC0);
    EXPECT_EQ(last[1], 0x80);
    EXPECT_EQ(last[2], 0x40);
}

TEST_F(DesktopCaptureTest, PreviewCapturesAt128By64WhateverTheWorkingSize) {
    isPreview = 1;
    EXPECT_EQ(captureUntilThePatternShows(128, 64), 0);
    EXPECT_EQ(sourcePicture.width, 128);
    EXPECT_EQ(sourcePicture.height, 64);
}

TEST_F(DesktopCaptureTest, AbsurdWorkingSizeLeavesNoPicture) {
    const struct {
        int32_t width;
        int32_t height;
    } sizes[] = {{0, 256}, {-512, 256}, {512, -1}, {100000, 100000}, {INT32_MAX, 2}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        sourcePicture.width = size.width;
        sourcePicture.height = size.height;
        captureDesktop();
        EXPECT_EQ(sourcePicture.pixels, nullptr);
    }
}

} // namespace
