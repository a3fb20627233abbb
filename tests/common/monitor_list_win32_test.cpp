#include <windows.h>

#include "common/monitor_list_win32.h"

#include <gtest/gtest.h>

namespace {

TEST(MonitorList, EveryMonitorIsListedThePrimaryFirstAtTheOrigin) {
    const MonitorList list = listMonitors();
    EXPECT_EQ(list.count, GetSystemMetrics(SM_CMONITORS));
    ASSERT_GE(list.count, 1);
    const ScreenRect& primary = list.monitors[0];
    EXPECT_EQ(primary.left, 0);
    EXPECT_EQ(primary.top, 0);
    EXPECT_EQ(primary.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(primary.bottom, GetSystemMetrics(SM_CYSCREEN));
}

} // namespace
