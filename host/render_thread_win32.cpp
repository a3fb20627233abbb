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
std::atomic<int32_t> renderPaused{0};
std::atomic<HANDLE> renderThread{nullptr};
HANDLE renderWake = nullptr;
std::atomic<uint32_t> renderedFrames{0};

// Plain loads and stores of these compile to ordinary instructions: no runtime support, no
// imports that Windows XP lacks.
static_assert(std::atomic<int32_t>::is_always_lock_free, "the stop flag needs no lock");
static_assert(std::atomic<uint32_t>::is_always_lock_free, "the frame count needs no lock");
static_assert(std::atomic<HANDLE>::is_always_lock_free, "the handle needs no lock");

bool startRendering(HWND window) {
    if (renderWake == nullptr) {
        renderWake = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    }
    if (renderWake != nullptr) {
        SetEvent(renderWake);
    }
    renderPaused = 0;
    renderRunning = 1;
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, RenderThreadMain, window, 0, &threadId);
    renderThread = thread;
    return thread != nullptr;
}

void pauseRendering() {
    if (renderWake == nullptr) {
        return;
    }
    ResetEvent(renderWake);
    renderPaused = 1;
}

void resumeRendering() {
    if (renderPaused.load() == 0) {
        return;
    }
    renderPaused = 0;
    SetEvent(renderWake);
}

void stopRendering() {
    renderRunning = 0;
    if (renderWake != nullptr) {
        SetEvent(renderWake);
    }
}

namespace {

// Waits without using the processor while the window thread keeps drawing paused. The time
// spent here is no animation time, so the next frame measures its interval from the wake-up.
void waitWhilePaused() {
    while (renderPaused.load() != 0 && renderRunning.load() != 0) {
        WaitForSingleObject(renderWake, INFINITE);
    }
    restartFrameClock();
}

} // namespace

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
        if (renderPaused.load() != 0) {
            waitWhilePaused();
            continue;
        }
        renderFrame(deviceContext);
        renderedFrames = renderedFrames.load() + 1;
        Sleep(0); // yields the rest of the time slice; the animation paces itself by the clock
    }

    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderContext);
    ReleaseDC(window, deviceContext);
    renderThread.store(nullptr);
    return 1;
}
