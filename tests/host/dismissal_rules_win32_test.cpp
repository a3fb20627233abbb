#include <windows.h>

#include "common/preview_flag.h"
#include "host/display_power_win32.h"
#include "host/host_entry_win32.h"
#include "host/saver_window_win32.h"

#include <gtest/gtest.h>

namespace {

// A window whose procedure is the dismissal rules alone, so no render thread is involved.
LRESULT CALLBACK rulesOnlyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HostDefaultProc(window, message, wParam, lParam);
}

int verifyCalls = 0;
BOOL verifyAnswer = FALSE;

BOOL WINAPI fakeVerifyPassword(HWND) {
    ++verifyCalls;
    return verifyAnswer;
}

class DismissalRules : public ::testing::Test {
protected:
    HWND window = nullptr;

    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = rulesOnlyProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MereflowRulesOnly";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "MereflowRulesOnly", "rules", WS_POPUP, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(window);
        isPreview = 0;
        onWin9x = 0;
        closingAllowed = 0;
        checkingPassword = 0;
        verifyPassword = nullptr;
        autoPlayMessage = 0;
        lastPasswordCheck = kNoPasswordCheck;
        GetCursorPos(&cursorAnchor);
        verifyCalls = 0;
        verifyAnswer = FALSE;
    }

    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        isPreview = 0;
        onWin9x = 0;
        closingAllowed = 0;
        verifyPassword = nullptr;
        autoPlayMessage = 0;
        lastPasswordCheck = kNoPasswordCheck;
    }

    // True when a WM_CLOSE is waiting for the window; takes it out of the queue.
    bool closeRequested() {
        MSG message;
        return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    }

    // Puts the anchor so that the pointer, where it is now, lies dx, dy away from it.
    void anchorAwayFromPointer(int dx, int dy) {
        POINT pointer;
        GetCursorPos(&pointer);
        cursorAnchor = {pointer.x - dx, pointer.y - dy};
    }
};

struct InputRow {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool closes;
};

const InputRow kInputs[] = {
    {"key", WM_KEYDOWN, VK_SPACE, true},
    {"system key", WM_SYSKEYDOWN, VK_MENU, true},
    {"left button", WM_LBUTTONDOWN, MK_LBUTTON, true},
    {"right button", WM_RBUTTONDOWN, MK_RBUTTON, true},
    {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, true},
    {"deactivation", WM_ACTIVATEAPP, 0, true},
    {"activation", WM_ACTIVATEAPP, 1, false},
    {"power broadcast", WM_POWERBROADCAST, 7, true},
    {"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, true},
    {"display state", WM_POWERBROADCAST, kPowerSettingChange, false},
    {"critical resume", WM_POWER, PWR_CRITICALRESUME, true},
    {"suspend request", WM_POWER, PWR_SUSPENDREQUEST, false},
    {"key release", WM_KEYUP, VK_SPACE, false},
    {"shown", WM_SHOWWINDOW, 1, false},
};

TEST_F(DismissalRules, KeysButtonsDeactivationAndPowerEventsCloseTheFullScreenSaver) {
    for (const InputRow& row : kInputs) {
        SCOPED_TRACE(row.name);
        SendMessageA(window, row.message, row.wParam, 0);
        EXPECT_EQ(closeRequested(), row.closes);
    }
}

TEST_F(DismissalRules, NoInputClosesThePreview) {
    isPreview = 1;
    for (const InputRow& row : kInputs) {
        SCOPED_TRACE(row.name);
        SendMessageA(window, row.message, row.wParam, 0);
        EXPECT_FALSE(closeRequested());
    }
    anchorAwayFromPointer(50, 50);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(closeRequested());
}

TEST_F(DismissalRules, OnlyPointerTravelBeyondFourPixelsCloses) {
    anchorAwayFromPointer(3, -1);
    const POINT anchor = cursorAnchor;
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(closeRequested());
    EXPECT_EQ(cursorAnchor.x, anchor.x); // small moves add up against the same anchor

    anchorAwayFromPointer(-2, 3);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(closeRequested());
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(cursorAnchor.x, pointer.x); // the closing move becomes the new anchor
    EXPECT_EQ(cursorAnchor.y, pointer.y);
}

TEST_F(DismissalRules, CursorRequestsAreAnsweredHereAndOthersGoToTheDefault) {
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), 0), 1);
    isPreview = 1;
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), 0), 0);
}

TEST_F(DismissalRules, WhileThePasswordIsAskedForInputIsIgnored) {
    checkingPassword = 1;
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    anchorAwayFromPointer(40, 0);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(closeRequested());
    checkingPassword = 0;
}

TEST_F(DismissalRules, OutsideWindows9xCloseDestroysAtOnceAndNothingIsVerified) {
    EXPECT_EQ(SendMessageA(window, kVerifyPasswordMessage, 0, 0), 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(closingAllowed, 0);
}

TEST_F(DismissalRules, Windows9xWithoutACheckApprovesTheFirstClose) {
    onWin9x = 1;
    EXPECT_EQ(SendMessageA(window, kVerifyPasswordMessage, 0, 0), 1);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(closingAllowed, 1);
}

TEST_F(DismissalRules, RefusedPasswordKeepsTheSaverReanchorsAndRefusesQuickRetries) {
    onWin9x = 1;
    verifyPassword = fakeVerifyPassword;
    anchorAwayFromPointer(30, 30);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(verifyCalls, 1);
    EXPECT_EQ(closingAllowed, 0);
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(cursorAnchor.x, pointer.x);
    EXPECT_EQ(cursorAnchor.y, pointer.y);

    // Within 200 ms of the end of that request: refused without asking.
    verifyAnswer = TRUE;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(verifyCalls, 1);

    Sleep(kPasswordRetryDelayMs + 50);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(verifyCalls, 2);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(closingAllowed, 1);
}

TEST_F(DismissalRules, AfterApprovalNoRuleApplies) {
    onWin9x = 1;
    closingAllowed = 1;
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(closeRequested());
    EXPECT_EQ(RequestCloseApproval(window), 0);
}

TEST_F(DismissalRules, ApprovalRequestDropsPendingTimers) {
    onWin9x = 1;
    verifyPassword = fakeVerifyPassword;
    for (int i = 0; i < 3; ++i) {
        PostMessageA(window, WM_TIMER, 1, 0);
    }
    EXPECT_EQ(RequestCloseApproval(window), 0);
    MSG message;
    int left = 0;
    while (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        ++left;
    }
    EXPECT_EQ(left, 1);
}

TEST_F(DismissalRules, AutoPlayClosesAndIsCancelledOnlyWithThePasswordArmed) {
    autoPlayMessage = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(SendMessageA(window, autoPlayMessage, 0, 0), 0);
    EXPECT_TRUE(closeRequested());

    verifyPassword = fakeVerifyPassword;
    EXPECT_EQ(SendMessageA(window, autoPlayMessage, 0, 0), 1);
    EXPECT_TRUE(closeRequested());

    isPreview = 1;
    EXPECT_EQ(SendMessageA(window, autoPlayMessage, 0, 0), 1);
    EXPECT_TRUE(closeRequested());
}

TEST_F(DismissalRules, AutoPlayMeansNothingWhenNotRegistered) {
    const UINT message = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(SendMessageA(window, message, 0, 0), 0);
    EXPECT_FALSE(closeRequested());
}

} // namespace
