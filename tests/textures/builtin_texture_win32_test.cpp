#include <windows.h>

#include "textures/builtin_texture.h"

#include "textures/bitmap_resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr char kGlWindowClass[] = "MereflowTextureTestGl";

// A hidden window with a WGL context current on this thread for the object's lifetime.
class WglContext {
public:
    WglContext() {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kGlWindowClass;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, kGlWindowClass, "gl", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR format = {};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 24;
        format.cDepthBits = 16;
        SetPixelFormat(dc_, ChoosePixelFormat(dc_, &format), &format);
        context_ = wglCreateContext(dc_);
        ready_ = context_ != nullptr && wglMakeCurrent(dc_, context_);
    }
    ~WglContext() {
        wglMakeCurrent(nullptr, nullptr);
        if (context_) {
            wglDeleteContext(context_);
        }
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
        UnregisterClassA(kGlWindowClass, GetModuleHandleA(nullptr));
    }
    WglContext(const WglContext&) = delete;
    WglContext& operator=(const WglContext&) = delete;

    bool ready() const { return ready_; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    bool ready_ = false;
};

// The RT_BITMAP resource's bytes as the module holds them, found without the code under test.
const uint8_t* resourceBytes(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    return loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
}

TEST(BuiltinTextureWin32, LoadsEachBitmapResourceWithItsSize) {
    WglContext gl;
    ASSERT_TRUE(gl.ready());
    const struct {
        int id;
        int width;
        int height;
    } bitmaps[] = {
        {kSkyBitmapId, 256, 256}, {kRoomBitmapId, 256, 256}, {kDigitStripBitmapId, 200, 23}};
    for (const auto& bitmap : bitmaps) {
        SCOPED_TRACE(bitmap.id);
        BuiltinTexture texture;
        EXPECT_EQ(texture.load(bitmap.id), 1);
        EXPECT_EQ(texture.loaded, 1);
        EXPECT_EQ(texture.width, bitmap.width);
        EXPECT_EQ(texture.height, bitmap.height);
        EXPECT_EQ(texture.bits, resourceBytes(bitmap.id));
        EXPECT_TRUE(glIsTexture(texture.textureName));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(BuiltinTextureWin32, SphereMapTextureHoldsTheResourcePixels) {
    WglContext gl;
    ASSERT_TRUE(gl.ready());
    BuiltinTexture texture;
    ASSERT_EQ(texture.load(kSkyBitmapId), 1);
    std::vector<uint8_t> texels(256 * 256 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, texels.data());
    const uint8_t* bytes = resourceBytes(kSkyBitmapId);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(texels.data(), bytes + 40, texels.size()), 0);
}

TEST(BuiltinTextureWin32, MissingResourceReturnsZeroAndMakesNoTexture) {
    WglContext gl;
    ASSERT_TRUE(gl.ready());
    BuiltinTexture texture;
    EXPECT_EQ(texture.load(999), 0);
    EXPECT_EQ(texture.loaded, 0);
    EXPECT_EQ(texture.textureName, 0u);
}

TEST(BuiltinTextureWin32, DestructorAfterTheContextIsGoneLeavesOpenGlAlone) {
    auto texture = std::make_unique<BuiltinTexture>();
    {
        WglContext gl;
        ASSERT_TRUE(gl.ready());
        ASSERT_EQ(texture->load(kDigitStripBitmapId), 1);
    }
    texture.reset(); // as a static instance at process exit
}

} // namespace
