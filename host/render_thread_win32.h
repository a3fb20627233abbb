// The render thread: owns the saver window's OpenGL context and draws frames until told to stop.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

// The hand-over between the window thread and the render thread, without any lock:
// 1. The window thread sets renderRunning to 1, clears renderPaused, makes sure renderWake
//    exists and is set, creates the render thread and stores the handle that thread creation
//    returns in renderThread.
// 2. The render thread tests renderRunning before every frame and draws while it is non-zero.
//    Before every frame it also tests renderPaused; while that is non-zero (and renderRunning
//    too) it waits on renderWake, and once woken it restarts the frame clock.
// 3. To pause (every display asleep), the window thread resets renderWake, then sets
//    renderPaused; so a render thread that sees the flag finds the event already reset.
// 4. To resume (a display wakes, or input arrives), only when paused, the window thread clears
//    renderPaused, then sets renderWake.
// 5. To stop it, the window thread clears renderRunning, sets renderWake so that a paused
//    render thread wakes, then polls renderThread for at most about a second.
// 6. The render thread finishes the frame it is drawing, tears down, and sets renderThread to
//    null as its very last action. The handle is never closed.
// Atomic only so that neither thread can keep a stale copy in a register: plain loads and
// stores, no read-modify-write.
extern std::atomic<int32_t> renderRunning;
extern std::atomic<int32_t> renderPaused;
extern std::atomic<HANDLE> renderThread;
// A manual-reset event, created once by the window thread before the first render thread and
// never closed; set except while drawing is paused. Null only when it could not be created, and
// then drawing never pauses.
extern HANDLE renderWake;
// Frames presented since the process started; written by the render thread only.
extern std::atomic<uint32_t> renderedFrames;

// The window thread's side of steps 1 and 3 to 5. startRendering returns false when the thread
// could not be created (renderThread stays null).
bool startRendering(HWND window);
void pauseRendering();
void resumeRendering();
void stopRendering();

// The thread entry; the argument is the saver window (HWND). Returns the exit code 1.
DWORD WINAPI RenderThreadMain(LPVOID window);
