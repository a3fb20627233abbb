// The host's side of the saver window: the window itself, its class procedure, the dismissal
// rules and the Windows 9x password check. Shared by the full-screen and the preview mode.
#pragma once

#include <windows.h>

#include <imm.h>

// The saver window's class and titles, by which a second start finds a running saver.
constexpr const char* kSaverClassName = "WindowsScreenSaverClass";
constexpr const char* kFullScreenTitle = "Screen Saver";
constexpr const char* kPreviewTitle = "Preview";

// The verify-password request sent to the saver window; non-zero means it may close.
constexpr UINT kVerifyPasswordMessage = WM_APP;

// No password request has ended yet.
constexpr DWORD kNoPasswordCheck = 0xFFFFFFFF;

// A close asked for within this many milliseconds of the end of a password request is refused
// without asking again.
constexpr DWORD kPasswordRetryDelayMs = 200;

// Largest pointer travel, abs(dx) + abs(dy) in pixels from cursorAnchor, that keeps the saver.
constexpr unsigned mouseMoveThreshold = 4;

// "VerifyScreenSavePwd" of PASSWORD.CPL: non-zero when the saver may close.
using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);

// Host variables; window thread only.
extern HWND saverWindow;
// Set on the Windows 9x family once a WM_CLOSE has been approved; from then on input and
// painting go straight to DefWindowProcA. Stays 0 on other systems.
extern int closingAllowed;
extern int checkingPassword;            // 1 while a password request is in progress
extern HMODULE passwordLibrary;         // PASSWORD.CPL while it is loaded
extern VerifyPasswordFn verifyPassword; // set while the password check is armed
extern UINT autoPlayMessage;            // "QueryCancelAutoPlay" on the 9x family, else 0
extern DWORD lastPasswordCheck;         // GetTickCount() when the last request ended
extern POINT cursorAnchor;              // pointer position the travel is measured from
extern HIMC savedInputContext;          // input-method context detached at creation

// Creates the full-screen window (parent null) or the preview inside parent and runs the
// message loop. Returns the quit code; 0 at once when a full-screen saver already runs; -1
// when no window could be created.
int RunSaver(HWND parent);

// The class procedure of the saver window.
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The dismissal rules and the password and AutoPlay answers; every message the program's
// window procedure does not finish ends here.
LRESULT HostDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Arms the password check when the 9x desktop asks for one (full screen only), and turns the
// system's screen-saver-running state on while it is armed.
void PreparePasswordCheck();
void ReleasePasswordCheck();

// Asks the password check whether a WM_CLOSE may go through; non-zero when it may.
BOOL RequestCloseApproval(HWND window);
