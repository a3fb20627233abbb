// The render thread: context set-up, the frame loop and the teardown.
#include <windows.h>

#include "host/render_thread_win32.h"

#include "common/gl.h"
#include "host/monitor_viewports_win32.h"
#include "host/pixel_format_win32.h"
#include "scene/frame.h"
#include "scene/scene_start.h"

#include <mmsystem.h>

std::atomic<int32_t> renderRunning{0};
std::atomic<HANDLE> renderThread{nullptr};

// Plain loads and stores of these compile to ordinary instructions: no runtime support, no
// imports that Windows XP lacks.
static_assert(std::atomic<int32_t>::is_always_lock_free, "the stop flag needs no lock");
static_assert(std::atomic<HANDLE>::is_always_lock_free, "the handle needs no lock");

DWORD WINAPI RenderThreadMain(LPVOID parameter) {
    const HWND window = static_cast<HWND>(parameter);
    // The window class gives each window its own device context (CS_OWNDC), valid for the
    // whole life of this thread.
    const HDC deviceContext = GetDC(window);
    SetupPixelFormat(deviceContext);
    // Without a context every OpenGL call does nothing: the loop runs on, showing nothing,
    // until it is stopped.
    const HGLRC renderContext = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, renderContext);
    // Read after any display-mode switch, so the viewports match the mode the monitors now show.
    frameViewports = readMonitorViewports(window);
    startScene(timeGetTime());

    while (renderRunning.load() != 0) {
        renderFrame(deviceContext);
        Sleep(0); // yields the rest of the time slice; the animation paces itself by the clock
    }

    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderContext);
    ReleaseDC(window, deviceContext);
    renderThread.store(nullptr);
    return 1;
}
