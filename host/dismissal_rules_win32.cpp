// Which input closes the full-screen saver, and the password and AutoPlay answers.
#include <windows.h>

#include "host/saver_window_win32.h"

#include "common/preview_flag.h"
#include "host/display_power_win32.h"
#include "host/host_entry_win32.h"

#include <cstdlib>

namespace {

void requestClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// Small moves add up against the anchor; only the move that takes the pointer beyond the
// threshold closes, and the anchor follows it.
void closeOnPointerTravel(HWND window) {
    POINT pointer = {};
    GetCursorPos(&pointer);
    const unsigned travel = static_cast<unsigned>(std::abs(pointer.x - cursorAnchor.x)) +
                            static_cast<unsigned>(std::abs(pointer.y - cursorAnchor.y));
    if (travel > mouseMoveThreshold) {
        requestClose(window);
        cursorAnchor = pointer;
    }
}

// The input rules; true when the message is answered here without the final step.
bool applyInputRules(HWND window, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_ACTIVATEAPP:
        if (wParam == 0) {
            requestClose(window);
        }
        return false;
    case WM_SHOWWINDOW:
        if (wParam != 0) {
            SetCursor(nullptr);
        }
        return false;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME) {
            requestClose(window);
        }
        return false;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        requestClose(window);
        return false;
    case WM_POWERBROADCAST:
        // The display state is the saver's own request, which pauses drawing instead.
        if (wParam != kPowerSettingChange) {
            requestClose(window);
        }
        return false;
    case WM_MOUSEMOVE:
        closeOnPointerTravel(window);
        return false;
    default:
        return false;
    }
}

// For every message in every mode. Answering 1 to QueryCancelAutoPlay tells the shell to
// cancel AutoPlay.
LRESULT finalStep(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (autoPlayMessage != 0 && message == autoPlayMessage) {
        requestClose(window);
        return verifyPassword != nullptr ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT HostDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isPreview || closingAllowed) {
        return finalStep(window, message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        if (onWin9x && !RequestCloseApproval(window)) {
            GetCursorPos(&cursorAnchor);
            return 0;
        }
    } else if (message == kVerifyPasswordMessage) {
        if (onWin9x) {
            return verifyPassword != nullptr ? verifyPassword(window) : 1;
        }
    } else if (!checkingPassword && applyInputRules(window, message, wParam)) {
        return 1;
    }
    return finalStep(window, message, wParam, lParam);
}

BOOL RequestCloseApproval(HWND window) {
    if (checkingPassword || closingAllowed) {
        return 0;
    }
    if (verifyPassword == nullptr) {
        closingAllowed = 1;
        return 1;
    }
    // Unsigned difference: the tick counter's wrap-around is harmless.
    if (lastPasswordCheck != kNoPasswordCheck &&
        GetTickCount() - lastPasswordCheck < kPasswordRetryDelayMs) {
        return closingAllowed;
    }
    checkingPassword = 1;
    MSG pending = {};
    for (int i = 0; i < 2; ++i) {
        PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    }
    closingAllowed = static_cast<int>(SendMessageA(window, kVerifyPasswordMessage, 0, 0));
    checkingPassword = 0;
    if (!closingAllowed) {
        SetCursor(nullptr);
    }
    lastPasswordCheck = GetTickCount();
    return closingAllowed;
}
