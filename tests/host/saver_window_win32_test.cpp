#include <windows.h>

#include "common/preview_flag.h"
#include "host/display_power_win32.h"
#include "host/host_entry_win32.h"
#include "host/render_thread_win32.h"
#include "host/saver_display_mode_win32.h"
#include "host/saver_window_proc_win32.h"
#include "host/saver_window_win32.h"
#include "settings/presets.h"
#include "settings/registry_store.h"
#include "settings/saver_settings.h"
#include "support/dialog_driver_win32.h"
#include "support/fake_display.h"
#include "support/message_box_watch_win32.h"
#include "support/test_window_win32.h"
#include "textures/source_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kClassName[] = "MereflowSaverUnderTest";

// A window of one colour over the whole screen, below the windows created after it, so that a
// captured desktop shows that colour.
class ColouredScreen {
public:
    explicit ColouredScreen(COLORREF color) : brush_(CreateSolidBrush(color)) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = brush_;
        windowClass.lpszClassName = kScreenClass;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, kScreenClass, "screen", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        pumpMessagesFor(200);
    }
    ~ColouredScreen() {
        DestroyWindow(window_);
        UnregisterClassA(kScreenClass, GetModuleHandleA(nullptr));
        DeleteObject(brush_);
        pumpMessagesFor(50);
    }
    ColouredScreen(const ColouredScreen&) = delete;
    ColouredScreen& operator=(const ColouredScreen&) = delete;

private:
    static constexpr const char* kScreenClass = "MereflowColouredScreen";
    HBRUSH brush_;
    HWND window_ = nullptr;
};

// The render thread's processor time so far, in 100 ns units.
ULONGLONG processorTime(HANDLE thread) {
    FILETIME creation, exit, kernel, user;
    GetThreadTimes(thread, &creation, &exit, &kernel, &user);
    ULARGE_INTEGER kernelTime = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER userTime = {{user.dwLowDateTime, user.dwHighDateTime}};
    return kernelTime.QuadPart + userTime.QuadPart;
}

void sendDisplayState(HWND window, DWORD state) {
    PowerSettingNotice notice = {*displayStateSetting, sizeof state, {}};
    std::memcpy(notice.data, &state, sizeof state);
    SendMessageA(window, WM_POWERBROADCAST, kPowerSettingChange, reinterpret_cast<LPARAM>(&notice));
}

void sendMonitorPower(HWND window, int state) {
    SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, state);
}

// The pointer 2 px to the right while the window is told of a move, then back where it was.
void nudgePointer(HWND window) {
    POINT pointer;
    GetCursorPos(&pointer);
    SetCursorPos(pointer.x + 2, pointer.y);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    SetCursorPos(pointer.x, pointer.y);
}

struct PauseRow {
    const char* name;
    void (*pause)(HWND window);
    void (*resume)(HWND window);
};

const PauseRow kPauses[] = {
    {"display state", [](HWND w) { sendDisplayState(w, 0); },
     [](HWND w) { sendDisplayState(w, 1); }},
    {"monitor power", [](HWND w) { sendMonitorPower(w, 2); },
     [](HWND w) { sendMonitorPower(w, -1); }},
    // Windows XP and 9x send nothing when input wakes the display.
    {"monitor power, then a 2 px move", [](HWND w) { sendMonitorPower(w, 2); }, nudgePointer},
    // Input that wakes the display without dismissing the saver.
    {"monitor power, then the wheel", [](HWND w) { sendMonitorPower(w, 2); },
     [](HWND w) { SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); }},
    {"monitor power, then the horizontal wheel", [](HWND w) { sendMonitorPower(w, 2); },
     [](HWND w) { SendMessageA(w, kMouseHorizontalWheel, MAKEWPARAM(0, WHEEL_DELTA), 0); }},
    {"monitor power, then a side button", [](HWND w) { sendMonitorPower(w, 2); },
     [](HWND w) { SendMessageA(w, WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), 0); }},
};

class SaverWindow : public ::testing::Test {
protected:
    HWND window = nullptr;
    FakeDisplayInUse display{{{640, 480, 16, 60}}};

    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = HostWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
        isPreview = 0;
        onWin9x = 0;
        closingAllowed = 0;
        mouseMoveCount = 0;
        // A light picture, and the mode the fake display offers unless a test says otherwise.
        applyDefaults();
        saverSettings.keyMarker = 0;
        saverSettings.sourceTexture = kSourceWhite;
        saverSettings.displayWidth = 0;
        saverSettings.displayHeight = 0;
        saverSettings.displayDepth = 0;
        saverSettings.customPicturePath[0] = '\0';
    }

    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        quitPosted();
        randomPresetPick = pickRandomPreset;
        isPreview = 0;
        closingAllowed = 0;
        clearSettingsStore();
    }

    // Stores the settings as they stand, then creates the window as RunSaver would.
    void create(HWND parent = nullptr) {
        saveSettings();
        const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
        window = CreateWindowExA(0, kClassName, parent ? kPreviewTitle : kFullScreenTitle, style, 0,
                                 0, 200, 150, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(window);
    }

    // Destroys the window as a dismissal does and takes the quit request out of the queue.
    void destroy() {
        DestroyWindow(window);
        quitPosted();
    }

    // True when the thread's quit request is waiting; takes it out of the queue.
    static bool quitPosted() {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    bool closeRequested() {
        MSG message;
        return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    }

    void chooseDisplayMode() {
        saverSettings.displayWidth = 640;
        saverSettings.displayHeight = 480;
        saverSettings.displayDepth = 16;
    }
};

TEST_F(SaverWindow, CreationStartsTheRenderThreadAndDestructionStopsItSavesAndQuits) {
    create();
    EXPECT_EQ(renderRunning.load(), 1);
    EXPECT_NE(renderThread.load(), nullptr);
    EXPECT_NE(displayStateNotification, nullptr);
    EXPECT_FALSE(quitPosted());

    clearSettingsStore();
    DestroyWindow(window);
    EXPECT_EQ(renderRunning.load(), 0);
    EXPECT_EQ(renderThread.load(), nullptr);
    EXPECT_EQ(displayStateNotification, nullptr);
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(storedValueCount(), 38);
    EXPECT_TRUE(fakeDisplay.calls.empty());
}

TEST_F(SaverWindow, TheFirstTwentyMouseMovesNeverReachTheRules) {
    create();
    mouseMoveCount = 0;
    POINT pointer;
    GetCursorPos(&pointer);
    cursorAnchor = {pointer.x - 50, pointer.y - 50};
    for (int move = 0; move < kIgnoredMouseMoves; ++move) {
        SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    }
    EXPECT_FALSE(closeRequested());
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(closeRequested());
    EXPECT_EQ(mouseMoveCount, kIgnoredMouseMoves + 1);
}

TEST_F(SaverWindow, DrawingStopsWhileTheDisplaysSleepAndGoesOnWhenOneWakesOrInputComes) {
    constexpr ULONGLONG kTwentyMs = 200000;
    for (const PauseRow& row : kPauses) {
        SCOPED_TRACE(row.name);
        create();
        mouseMoveCount = kIgnoredMouseMoves; // moves reach the dismissal rules
        ASSERT_NE(displayStateSetting, nullptr);
        ASSERT_TRUE(changesWithin(renderedFrames, 5000));
        row.pause(window);
        EXPECT_FALSE(closeRequested());
        pumpMessagesFor(200); // the frame being drawn ends
        const uint32_t frames = renderedFrames.load();
        const ULONGLONG before = processorTime(renderThread.load());
        SendMessageA(window, WM_MOUSEMOVE, 0, 0); // the pointer has not moved
        pumpMessagesFor(500);
        EXPECT_EQ(renderedFrames.load(), frames);
        pumpMessagesFor(500);
        EXPECT_LE(processorTime(renderThread.load()) - before, kTwentyMs);

        row.resume(window);
        EXPECT_FALSE(closeRequested());
        EXPECT_TRUE(changesWithin(renderedFrames, 1000));
        row.pause(window);
        pumpMessagesFor(200);
        SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_TRUE(closeRequested()); // input still dismisses
        EXPECT_TRUE(changesWithin(renderedFrames, 1000));
        row.pause(window);
        destroy(); // wakes the paused thread, which ends before the wait does
        EXPECT_EQ(renderThread.load(), nullptr);
    }
}

TEST_F(SaverWindow, ChosenDisplayModeIsSwitchedForTheRunAndRestoredOnce) {
    chooseDisplayMode();
    create();
    EXPECT_EQ(fakeDisplay.kinds(), std::vector<std::string>{"whole"});
    EXPECT_TRUE(saverDisplayModeActive());
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.right - area.left, 640);
    EXPECT_EQ(area.bottom - area.top, 480);
    EXPECT_NE(renderThread.load(), nullptr);

    DestroyWindow(window);
    EXPECT_EQ(fakeDisplay.kinds(), (std::vector<std::string>{"whole", "fields"}));
    EXPECT_EQ(fakeDisplay.returnsToOwnMode(), 1);
    EXPECT_FALSE(saverDisplayModeActive());
    restoreSaverDisplayMode();
    EXPECT_EQ(fakeDisplay.calls.size(), 2u);
}

TEST_F(SaverWindow, PreviewNeitherSwitchesTheDisplayNorCountsMoves) {
    TestWindow parent(0, 0, 240, 180);
    chooseDisplayMode();
    isPreview = 1;
    create(parent.handle());
    POINT pointer;
    GetCursorPos(&pointer);
    cursorAnchor = {pointer.x - 50, pointer.y - 50};
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    sendMonitorPower(window, 2);
    EXPECT_FALSE(closeRequested());
    EXPECT_EQ(mouseMoveCount, 0);
    EXPECT_EQ(displayStateNotification, nullptr);
    EXPECT_EQ(renderPaused.load(), 0);
    DestroyWindow(window);
    EXPECT_TRUE(fakeDisplay.calls.empty());
    EXPECT_EQ(storedValueCount(), 38);
}

TEST_F(SaverWindow, FailedCustomPictureEndsBeforeTheDisplaySwitchAndTheRenderThread) {
    chooseDisplayMode();
    saverSettings.sourceTexture = kSourceCustom;
    std::strcpy(saverSettings.customPicturePath, "C:\\missing\\none.bmp");
    {
        MessageBoxWatch box("Error");
        create();
        box.wait();
        EXPECT_EQ(box.text,
                  "Error loading custom image \"C:\\missing\\none.bmp\".\nHRESULT = 80004005");
    }
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(renderThread.load(), nullptr);
    EXPECT_TRUE(fakeDisplay.calls.empty());
    EXPECT_FALSE(saverDisplayModeActive());
}

TEST_F(SaverWindow, RefusedDisplayModeEndsWithoutTheRenderThread) {
    chooseDisplayMode();
    fakeDisplay.laterAnswer = kDisplayChangeBadMode;
    saverSettings.sourceTexture = kSourceDesktop;
    {
        MessageBoxWatch box("MRFX");
        create();
        box.wait();
        EXPECT_EQ(box.text, "Error setting resolution");
    }
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(renderThread.load(), nullptr);
    EXPECT_EQ(fakeDisplay.calls.back().kind, "message"); // the switch's own report came first
    EXPECT_FALSE(saverDisplayModeActive());
    EXPECT_EQ(sourcePicture.pixels, nullptr); // the captured desktop will never be uploaded
}

// NOTE: full screen only. The preview takes the same path through window creation, but under
// Wine a test thread that owns both the preview's parent and the OpenGL child can wait for ever
// on the child's render thread.
TEST_F(SaverWindow, RandomPresetThatPicksDesktopShowsTheCapturedDesktop) {
    ColouredScreen desktop(RGB(220, 0, 0));
    randomPresetPick = [] { applyPreset(kPresetButtonLast); }; // preset 4 shows the desktop
    saverSettings.useRandomPreset = 1;
    saverSettings.sourceTexture = kSourceWhite;
    create();
    COLORREF shown = 0;
    for (int wait = 0; wait < 50 && GetRValue(shown) < 100; ++wait) {
        pumpMessagesFor(100);
        shown = screenPixel(100, 75); // the middle of the 200 x 150 window at 0, 0
    }
    // The red picture under any tint or light has no green or blue, unlike bare water.
    EXPECT_GE(GetRValue(shown), 100) << std::hex << shown;
    EXPECT_LT(GetGValue(shown) + GetBValue(shown), 40) << std::hex << shown;
    destroy();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(saverSettings.sourceTexture, kSourceDesktop); // the preset was stored
    EXPECT_EQ(saverSettings.maxDrips, 15);
}

TEST_F(SaverWindow, TitleNeverChanges) {
    create();
    SetWindowTextA(window, "Something else");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kFullScreenTitle);
}

TEST_F(SaverWindow, TaskSwitchAndSaverCommandsAreSwallowedInFullScreen) {
    create();
    for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE}) {
        EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0);
        EXPECT_TRUE(IsWindow(window));
    }
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindow, PreviewHandsHelpRequestsToItsParent) {
    TestWindow parent(0, 0, 240, 180);
    isPreview = 1;
    create(parent.handle());
    EXPECT_EQ(
        SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(3, 4)),
        1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, parent.handle(), WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE));
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(parent.handle()));
    EXPECT_EQ(message.lParam, MAKELPARAM(3, 4));
}

TEST_F(SaverWindow, AfterApprovalInputAndTimersGoStraightToTheDefault) {
    create();
    closingAllowed = 1;
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(closeRequested());
    EXPECT_EQ(SendMessageA(window, WM_TIMER, 1, 0), 0);
}

} // namespace
