#include <windows.h>

#include "host/host_entry_win32.h"
#include "host/saver_window_win32.h"
#include "support/screen_saver_state_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kSwitch[] = "ScreenSaveUsePassword";

// The test's PASSWORD.CPL lies beside the test program, where LoadLibraryA looks first.
class PasswordCheck : public ::testing::Test {
protected:
    void SetUp() override {
        RegCreateKeyA(HKEY_CURRENT_USER, kDesktopKey, &desktop);
        ASSERT_TRUE(desktop);
        saved.resize(64);
        DWORD size = static_cast<DWORD>(saved.size());
        hadSwitch = RegQueryValueExA(desktop, kSwitch, nullptr, &savedType,
                                     reinterpret_cast<BYTE*>(&saved[0]), &size) == ERROR_SUCCESS;
        saved.resize(size);
        onWin9x = 1;
    }

    void TearDown() override {
        ReleasePasswordCheck();
        onWin9x = 0;
        if (hadSwitch) {
            RegSetValueExA(desktop, kSwitch, 0, savedType,
                           reinterpret_cast<const BYTE*>(saved.data()),
                           static_cast<DWORD>(saved.size()));
        } else {
            RegDeleteValueA(desktop, kSwitch);
        }
        RegCloseKey(desktop);
    }

    void storeSwitch(DWORD type, const void* data, DWORD size) {
        RegSetValueExA(desktop, kSwitch, 0, type, static_cast<const BYTE*>(data), size);
    }

    bool armed() const { return passwordLibrary != nullptr && verifyPassword != nullptr; }

    HKEY desktop = nullptr;
    std::string saved;
    DWORD savedType = 0;
    bool hadSwitch = false;
};

TEST_F(PasswordCheck, ArmedWhileTheDesktopAsksAndTheRunningStateFollowsIt) {
    const DWORD on = 1;
    storeSwitch(REG_DWORD, &on, sizeof on);
    PreparePasswordCheck();
    EXPECT_TRUE(armed());
    EXPECT_TRUE(screenSaverRunning());
    ReleasePasswordCheck();
    EXPECT_FALSE(armed());
    EXPECT_EQ(passwordLibrary, nullptr);
    EXPECT_FALSE(screenSaverRunning());
}

TEST_F(PasswordCheck, ArmingTwiceReleasesTheFirstLibrary) {
    const DWORD on = 1;
    storeSwitch(REG_DWORD, &on, sizeof on);
    PreparePasswordCheck();
    PreparePasswordCheck();
    EXPECT_TRUE(armed());
    ReleasePasswordCheck();
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
}

struct SwitchRow {
    const char* name;
    DWORD type;
    const char* bytes;
    DWORD size;
    bool arms;
};

// Read whatever the type: up to 4 bytes fill a number that starts at 0; more fail the read.
const SwitchRow kSwitches[] = {
    {"dword 0", REG_DWORD, "\0\0\0\0", 4, false},
    {"dword 1", REG_DWORD, "\1\0\0\0", 4, true},
    {"one byte 1", REG_BINARY, "\1", 1, true},
    {"one byte 0", REG_BINARY, "\0", 1, false},
    {"string \"1\"", REG_SZ, "1\0", 2, true},
    {"five bytes", REG_BINARY, "\1\0\0\0\0", 5, false},
    {"long string", REG_SZ, "1111111\0", 8, false},
};

TEST_F(PasswordCheck, DesktopSwitchIsReadWhateverItsType) {
    for (const SwitchRow& row : kSwitches) {
        SCOPED_TRACE(row.name);
        storeSwitch(row.type, row.bytes, row.size);
        PreparePasswordCheck();
        EXPECT_EQ(armed(), row.arms);
        ReleasePasswordCheck();
    }
}

TEST_F(PasswordCheck, MissingSwitchOrAnotherFamilyLeavesItOff) {
    RegDeleteValueA(desktop, kSwitch);
    PreparePasswordCheck();
    EXPECT_FALSE(armed());

    const DWORD on = 1;
    storeSwitch(REG_DWORD, &on, sizeof on);
    onWin9x = 0;
    PreparePasswordCheck();
    EXPECT_FALSE(armed());
    EXPECT_FALSE(screenSaverRunning());
}

} // namespace
