// The render thread: owns the saver window's OpenGL context and draws frames until told to stop.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

// The hand-over between the window thread and the render thread, without any lock:
// 1. The window thread sets renderRunning to 1, creates the render thread and stores the
//    handle that thread creation returns in renderThread.
// 2. The render thread tests renderRunning before every frame and draws while it is non-zero.
// 3. To stop it, the window thread clears renderRunning, then polls renderThread for at most
//    about a second.
// 4. The render thread finishes the frame it is drawing, tears down, and sets renderThread to
//    null as its very last action. The handle is never closed.
// Atomic only so that neither thread can keep a stale copy in a register: plain loads and
// stores, no read-modify-write.
extern std::atomic<int32_t> renderRunning;
extern std::atomic<HANDLE> renderThread;

// The thread entry; the argument is the saver window (HWND). Returns the exit code 1.
DWORD WINAPI RenderThreadMain(LPVOID window);
