// The pixel format glue for GDI: describing, choosing and setting formats.
#include <windows.h>

#include "host/pixel_format_win32.h"

#include "host/pixel_format.h"

#include <vector>

namespace {

// NOTE: a device lists a few hundred formats (about 480 under Wine with Mesa); the bound only
// keeps a driver that never fails DescribePixelFormat from hanging the render thread.
constexpr int kMaxPixelFormats = 65536;

PixelFormatDescription choiceFields(const PIXELFORMATDESCRIPTOR& descriptor) {
    return {descriptor.dwFlags, descriptor.iPixelType, descriptor.cColorBits,
            descriptor.cDepthBits};
}

std::vector<PixelFormatDescription> describeAllFormats(HDC deviceContext) {
    std::vector<PixelFormatDescription> formats;
    PIXELFORMATDESCRIPTOR descriptor;
    for (int index = 1; index <= kMaxPixelFormats; ++index) {
        if (!DescribePixelFormat(deviceContext, index, sizeof descriptor, &descriptor)) {
            break;
        }
        formats.push_back(choiceFields(descriptor));
    }
    return formats;
}

PIXELFORMATDESCRIPTOR fallbackDescriptor() {
    const PixelFormatDescription request = fallbackPixelFormatRequest();
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = request.flags;
    descriptor.iPixelType = request.pixelType;
    descriptor.cColorBits = request.colorBits;
    descriptor.cDepthBits = request.depthBits;
    return descriptor;
}

} // namespace

void SetupPixelFormat(HDC deviceContext) {
    const int best = bestPixelFormatIndex(describeAllFormats(deviceContext));
    if (best != 0) {
        PIXELFORMATDESCRIPTOR descriptor;
        DescribePixelFormat(deviceContext, best, sizeof descriptor, &descriptor);
        SetPixelFormat(deviceContext, best, &descriptor);
        return;
    }
    const PIXELFORMATDESCRIPTOR request = fallbackDescriptor();
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &request), &request);
}
