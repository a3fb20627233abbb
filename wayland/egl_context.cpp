// EGL on Wayland: the display, an 8/8/8 OpenGL configuration without alpha, a compatibility
// context, and the covers' window surfaces.
#include "wayland/egl_context.h"

#include "native/program/host_gl.h"

#include <EGL/eglext.h>

namespace {

// The one EGL display and context of the run; the run loop's thread only.
struct EglSession {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
};
EglSession egl;

void presentOnCover(void* target) {
    eglSwapBuffers(egl.display, static_cast<CoverSurface*>(target)->eglSurface);
}

bool hasEglContext() {
    return eglGetCurrentContext() != EGL_NO_CONTEXT;
}

} // namespace

bool startEgl(wl_display* display, std::string& error) {
    // The platform call, not eglGetDisplay: given the wl_display pointer, that one offered no
    // matching configuration.
    egl.display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    EGLint major = 0;
    EGLint minor = 0;
    if (egl.display == EGL_NO_DISPLAY || !eglInitialize(egl.display, &major, &minor) ||
        !eglBindAPI(EGL_OPENGL_API)) {
        error = "no EGL with OpenGL on this compositor";
        return false;
    }
    // Exactly 8/8/8 without alpha: the first configuration offered may be 10-bit, which draws
    // slower, and one with alpha lets what lies under it show through.
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_WINDOW_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_ALPHA_SIZE,
                             0,
                             EGL_DEPTH_SIZE,
                             16,
                             EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    eglChooseConfig(egl.display, wanted, configs, 64, &count);
    for (EGLint i = 0; i < count && !egl.config; ++i) {
        EGLint red = 0;
        EGLint alpha = 0;
        eglGetConfigAttrib(egl.display, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(egl.display, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (red == 8 && alpha == 0) {
            egl.config = configs[i];
        }
    }
    if (!egl.config) {
        error = "no 8-bit OpenGL configuration without alpha on this compositor";
        return false;
    }
    // No version asked for: a compatibility context, for the fixed-function drawing.
    egl.context = eglCreateContext(egl.display, egl.config, EGL_NO_CONTEXT, nullptr);
    if (egl.context == EGL_NO_CONTEXT) {
        error = "no OpenGL context from EGL";
        return false;
    }
    return true;
}

void stopEgl() {
    if (egl.display == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (egl.context != EGL_NO_CONTEXT) {
        eglDestroyContext(egl.display, egl.context);
    }
    eglTerminate(egl.display);
    egl = {};
}

bool attachEglSurface(CoverSurface& cover) {
    cover.eglWindow = wl_egl_window_create(cover.surface, cover.bufferWidth, cover.bufferHeight);
    if (!cover.eglWindow) {
        return false;
    }
    cover.eglSurface = eglCreateWindowSurface(
        egl.display, egl.config, reinterpret_cast<EGLNativeWindowType>(cover.eglWindow), nullptr);
    if (cover.eglSurface == EGL_NO_SURFACE || !makeCurrentOn(cover)) {
        return false;
    }
    // Frames are paced on the surface's frame callbacks: a swap that waited would block for
    // ever once the compositor stops sending them (an output turned off or hidden).
    eglSwapInterval(egl.display, 0);
    return true;
}

void detachEglSurface(CoverSurface& cover) {
    if (cover.eglSurface != EGL_NO_SURFACE) {
        if (eglGetCurrentSurface(EGL_DRAW) == cover.eglSurface) {
            eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl.context);
        }
        eglDestroySurface(egl.display, cover.eglSurface);
        cover.eglSurface = EGL_NO_SURFACE;
    }
    if (cover.eglWindow) {
        wl_egl_window_destroy(cover.eglWindow);
        cover.eglWindow = nullptr;
    }
}

bool makeCurrentOn(CoverSurface& cover) {
    return eglMakeCurrent(egl.display, cover.eglSurface, cover.eglSurface, egl.context);
}

void useEglForFrames() {
    hostGl = {presentOnCover, hasEglContext};
}
