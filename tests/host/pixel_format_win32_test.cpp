#include <windows.h>

#include "host/pixel_format_win32.h"

#include "host/pixel_format.h"
#include "support/test_window_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PixelFormatWin32, SetsTheBestScoringFormatOfTheDevice) {
    TestWindow window(0, 0, 64, 48);
    ASSERT_TRUE(window.handle());
    const HDC deviceContext = GetDC(window.handle());

    std::vector<PixelFormatDescription> formats;
    PIXELFORMATDESCRIPTOR descriptor;
    for (int index = 1; DescribePixelFormat(deviceContext, index, sizeof descriptor, &descriptor);
         ++index) {
        formats.push_back({descriptor.dwFlags, descriptor.iPixelType, descriptor.cColorBits,
                           descriptor.cDepthBits});
    }
    const int best = bestPixelFormatIndex(formats);
    ASSERT_NE(best, 0) << formats.size() << " formats, none usable";

    SetupPixelFormat(deviceContext);
    EXPECT_EQ(GetPixelFormat(deviceContext), best);
    DescribePixelFormat(deviceContext, GetPixelFormat(deviceContext), sizeof descriptor,
                        &descriptor);
    EXPECT_TRUE(descriptor.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_TRUE(descriptor.dwFlags & PFD_SUPPORT_OPENGL);
    ReleaseDC(window.handle(), deviceContext);
}

} // namespace
