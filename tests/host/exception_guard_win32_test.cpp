#include <windows.h>

#include "host/exception_guard_win32.h"
#include "host/host_entry_win32.h"
#include "host/saver_display_mode_win32.h"
#include "settings/saver_settings.h"
#include "support/fake_display.h"
#include "support/screen_saver_state_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr DWORD kTestException = 0xE0000042;

int filterCalls = 0;
DWORD filteredCode = 0;

LONG WINAPI handOverToTheGuard(EXCEPTION_POINTERS* exception) {
    ++filterCalls;
    filteredCode = exception->ExceptionRecord->ExceptionCode;
    return EXCEPTION_EXECUTE_HANDLER;
}

LONG WINAPI continueWhereItHappened(EXCEPTION_POINTERS*) {
    ++filterCalls;
    return EXCEPTION_CONTINUE_EXECUTION;
}

int returnsFortyTwo(const char*) {
    return 42;
}

int writesThroughNull(const char*) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}

int raisesAndGoesOn(const char*) {
    RaiseException(kTestException, 0, 0, nullptr);
    return 7;
}

int catchesItsOwnException(const char*) {
    try {
        throw std::runtime_error("handled inside");
    } catch (const std::runtime_error&) {
        return 5;
    }
}

// The thread's exception-handler chain on 32-bit Windows; the 64-bit build has none.
DWORD handlerChain() {
#if defined(__i386__)
    return __readfsdword(0);
#else
    return 0;
#endif
}

class ExceptionGuard : public ::testing::Test {
protected:
    void SetUp() override {
        filterCalls = 0;
        filteredCode = 0;
        applyDefaults();
        saverSettings.displayWidth = 640;
        saverSettings.displayHeight = 480;
        saverSettings.displayDepth = 16;
        chainBefore = handlerChain();
    }
    void TearDown() override {
        restoreSaverDisplayMode();
        onWin9x = 0;
        EXPECT_EQ(handlerChain(), chainBefore) << "the handler chain was left changed";
    }

    // The state a crash must undo: the mode switched and, on 9x, the running state on.
    void enterSaverState() {
        onWin9x = 1;
        BOOL previous = FALSE;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0);
        ASSERT_TRUE(switchToSaverDisplayMode());
    }

    FakeDisplayInUse display{{{640, 480, 16, 60}}};
    DWORD chainBefore = 0;
};

TEST_F(ExceptionGuard, ReturnsTheModesResultWhenNothingGoesWrong) {
    EXPECT_EQ(runGuarded(returnsFortyTwo, "", handOverToTheGuard), 42);
    EXPECT_EQ(filterCalls, 0);
}

TEST_F(ExceptionGuard, CrashHandedToTheGuardEndsTheModeAndUndoesTheSaverState) {
    enterSaverState();
    EXPECT_EQ(runGuarded(writesThroughNull, "", handOverToTheGuard), kCrashedModeResult);
    EXPECT_EQ(filterCalls, 1);
    EXPECT_EQ(filteredCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_FALSE(saverDisplayModeActive());
    EXPECT_EQ(fakeDisplay.returnsToOwnMode(), 1);
    EXPECT_FALSE(screenSaverRunning());
}

TEST_F(ExceptionGuard, FilterThatContinuesLetsTheModeGoOn) {
    EXPECT_EQ(runGuarded(raisesAndGoesOn, "", continueWhereItHappened), 7);
    EXPECT_EQ(filterCalls, 1);
}

TEST_F(ExceptionGuard, ExceptionsTheModeHandlesItselfNeverReachTheGuard) {
    EXPECT_EQ(runGuarded(catchesItsOwnException, "", handOverToTheGuard), 5);
    EXPECT_EQ(filterCalls, 0);
}

TEST_F(ExceptionGuard, CrashFilterOfEveryThreadUndoesTheSaverStateOnceAndPassesTheCrashOn) {
    enterSaverState();
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    CONTEXT context = {};
    EXCEPTION_POINTERS pointers = {&record, &context};
    EXPECT_EQ(crashCleanupFilter(&pointers), EXCEPTION_CONTINUE_SEARCH);
    EXPECT_FALSE(saverDisplayModeActive());
    EXPECT_FALSE(screenSaverRunning());
    crashCleanupFilter(&pointers);
    EXPECT_EQ(fakeDisplay.returnsToOwnMode(), 1);
}

} // namespace
