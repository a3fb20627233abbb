// The program's own procedure for the saver window: prepares the picture, starts the render
// thread, hands input on to the dismissal rules, and undoes its work at destruction.
#pragma once

#include <windows.h>

#include <cstdint>

// In full screen, this many first mouse moves never reach the dismissal rules: the system
// sends some as the window appears.
constexpr int32_t kIgnoredMouseMoves = 20;

// WM_MOUSEMOVE messages that reached SaverWindowProc in full screen; never reset (it stops
// counting at its largest value). Window thread only.
extern int32_t mouseMoveCount;

// NOTE: the headers keep WM_MOUSEHWHEEL for Windows Vista on (_WIN32_WINNT 0x0600); the value is
// the system's, and older systems never send it.
constexpr UINT kMouseHorizontalWheel = 0x020E; // WM_MOUSEHWHEEL

// Where the pointer was when drawing paused; while paused, a move that finds it elsewhere
// resumes drawing. Window thread only.
extern POINT pausePointer;

// The random preset's pick at window creation: pickRandomPreset. Only tests put in another, to
// choose the preset.
extern void (*randomPresetPick)();

// Called only by HostWindowProc, on the window thread.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
