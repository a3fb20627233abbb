// The pixel format glue for GDI: describing, choosing and setting formats.
#include <windows.h>

#include "host/pixel_format_win32.h"

#include "host/pixel_format.h"

#include <vector>

// The scoring rule's portable copies of the system's numbers must be the system's own.
static_assert(kPfdDoubleBuffer == PFD_DOUBLEBUFFER, "double buffer flag");
static_assert(kPfdDrawToWindow == PFD_DRAW_TO_WINDOW, "draw to window flag");
static_assert(kPfdSupportOpenGl == PFD_SUPPORT_OPENGL, "OpenGL flag");
static_assert(kPfdGenericFormat == PFD_GENERIC_FORMAT, "generic format flag");
static_assert(kPfdGenericAccelerated == PFD_GENERIC_ACCELERATED, "generic accelerated flag");
static_assert(kPfdTypeRgba == PFD_TYPE_RGBA, "RGBA pixel type");

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
