#include "common/monitor_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Monitor {
    ScreenRect rect;
    bool primary;
};

struct LayoutCase {
    const char* name;
    std::vector<Monitor> monitors; // in the system's order
    ScreenRect client;             // in virtual-screen pixels
    bool preview;
    std::vector<Viewport> expected;
};

// Eighteen monitors of 10 x 10 in a row, the primary last; the window covers them all.
LayoutCase manyMonitors() {
    LayoutCase c{"more than sixteen keep the primary and the first fifteen others",
                 {},
                 {0, 0, 180, 10},
                 false,
                 {}};
    for (int32_t i = 0; i < 18; ++i) {
        c.monitors.push_back({{10 * i, 0, 10 * i + 10, 10}, i == 17});
    }
    c.expected.push_back({170, 0, 10, 10});
    for (int32_t i = 0; i < 15; ++i) {
        c.expected.push_back({10 * i, 0, 10, 10});
    }
    return c;
}

TEST(MonitorLayout, ViewportsFollowTheMonitorsTheWindowShows) {
    const LayoutCase cases[] = {
        {"side by side, different sizes, a strip that no monitor shows",
         {{{0, 0, 1024, 768}, true}, {{1024, 0, 1824, 600}, false}},
         {0, 0, 1824, 768},
         false,
         {{0, 0, 1024, 768}, {1024, 168, 800, 600}}},
        {"stacked",
         {{{0, 0, 800, 600}, true}, {{0, 600, 800, 1200}, false}},
         {0, 0, 800, 1200},
         false,
         {{0, 600, 800, 600}, {0, 0, 800, 600}}},
        {"the primary on the right, the virtual screen starting at negative x",
         {{{-1280, 0, 0, 1024}, false}, {{0, 0, 1024, 768}, true}},
         {-1280, 0, 1024, 1024},
         false,
         {{1280, 256, 1024, 768}, {0, 0, 1280, 1024}}},
        {"a monitor partly outside the window is clipped, one wholly outside dropped",
         {{{0, 0, 1024, 768}, true},
          {{1024, -100, 1824, 500}, false},
          {{5000, 0, 6000, 768}, false}},
         {0, 0, 1824, 768},
         false,
         {{0, 0, 1024, 768}, {1024, 268, 800, 500}}},
        manyMonitors(),
        {"one monitor gets the whole client area",
         {{{0, 0, 1024, 768}, true}},
         {0, 0, 1280, 1024},
         false,
         {{0, 0, 1280, 1024}}},
        {"the preview gets its whole client area",
         {{{0, 0, 1024, 768}, true}, {{1024, 0, 1824, 600}, false}},
         {300, 200, 452, 312},
         true,
         {{0, 0, 152, 112}}},
        {"no monitor known gets the whole client area",
         {},
         {0, 0, 640, 480},
         false,
         {{0, 0, 640, 480}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        MonitorList list;
        for (const Monitor& m : c.monitors) {
            addMonitor(list, m.rect, m.primary);
        }
        const MonitorLayout layout = layoutMonitors(list, c.client, c.preview);
        ASSERT_EQ(layout.count, static_cast<int32_t>(c.expected.size()));
        for (int32_t i = 0; i < layout.count; ++i) {
            const Viewport& got = layout.viewports[i];
            const Viewport& want = c.expected[i];
            EXPECT_EQ(got.x, want.x) << "viewport " << i;
            EXPECT_EQ(got.y, want.y) << "viewport " << i;
            EXPECT_EQ(got.width, want.width) << "viewport " << i;
            EXPECT_EQ(got.height, want.height) << "viewport " << i;
        }
    }
}

TEST(MonitorLayout, TheVirtualScreenSpansEveryMonitor) {
    struct ScreenCase {
        std::vector<ScreenRect> monitors;
        ScreenRect expected;
    };
    const ScreenCase cases[] = {
        {{}, {0, 0, 0, 0}},
        {{{0, 0, 640, 480}}, {0, 0, 640, 480}},
        {{{0, 0, 1024, 768}, {-1280, -200, 0, 824}, {1024, 0, 1824, 600}},
         {-1280, -200, 1824, 824}},
    };
    for (const ScreenCase& c : cases) {
        MonitorList list;
        for (const ScreenRect& m : c.monitors) {
            addMonitor(list, m, list.count == 0);
        }
        const ScreenRect got = virtualScreen(list);
        EXPECT_EQ(got.left, c.expected.left);
        EXPECT_EQ(got.top, c.expected.top);
        EXPECT_EQ(got.right, c.expected.right);
        EXPECT_EQ(got.bottom, c.expected.bottom);
    }
}

} // namespace
