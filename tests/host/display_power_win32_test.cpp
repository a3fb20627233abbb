#include <windows.h>

#include "host/display_power_win32.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(DisplayPower, VistaAndSevenAskForMonitorPowerLaterOnesForTheConsoleDisplay) {
    const struct {
        DWORD major, minor;
        const GUID* setting;
    } rows[] = {{5, 1, nullptr},
                {6, 0, &kMonitorPowerOn},
                {6, 1, &kMonitorPowerOn},
                {6, 2, &kConsoleDisplayState},
                {10, 0, &kConsoleDisplayState}};
    for (const auto& row : rows) {
        EXPECT_EQ(displayStateSettingFor(row.major, row.minor), row.setting)
            << row.major << "." << row.minor;
    }
}

TEST(DisplayPower, OnlyTheRegisteredSettingsFourByteStateCounts) {
    displayStateSetting = &kConsoleDisplayState;
    const struct {
        const char* name;
        const GUID& setting;
        DWORD length;
        DWORD state;
        DisplayPower power;
    } rows[] = {{"off", kConsoleDisplayState, 4, 0, DisplayPower::Off},
                {"on", kConsoleDisplayState, 4, 1, DisplayPower::On},
                {"dimmed", kConsoleDisplayState, 4, 2, DisplayPower::On},
                {"unknown state", kConsoleDisplayState, 4, 3, DisplayPower::Unchanged},
                {"other setting", kMonitorPowerOn, 4, 0, DisplayPower::Unchanged},
                {"other length", kConsoleDisplayState, 1, 0, DisplayPower::Unchanged}};
    for (const auto& row : rows) {
        PowerSettingNotice notice = {row.setting, row.length, {}};
        std::memcpy(notice.data, &row.state, sizeof row.state);
        EXPECT_EQ(displayPowerFromNotice(reinterpret_cast<LPARAM>(&notice)), row.power) << row.name;
    }
    EXPECT_EQ(displayPowerFromNotice(0), DisplayPower::Unchanged);
    displayStateSetting = nullptr;
}

TEST(DisplayPower, MonitorPowerCommandTwoTurnsOffMinusOneOnOneNeither) {
    EXPECT_EQ(displayPowerFromCommand(SC_MONITORPOWER | 2, 2), DisplayPower::Off);
    EXPECT_EQ(displayPowerFromCommand(SC_MONITORPOWER, -1), DisplayPower::On);
    EXPECT_EQ(displayPowerFromCommand(SC_MONITORPOWER, 1), DisplayPower::Unchanged);
    EXPECT_EQ(displayPowerFromCommand(SC_CLOSE, 2), DisplayPower::Unchanged);
}

} // namespace
