#include "native/daemons/daemon_preferences.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(DaemonPreferences, GrabDesktopImagesOffOnlyByItsOwnLine) {
    struct Case {
        const char* text;
        bool grab;
    };
    const Case cases[] = {
        {"", true},
        {"timeout:\t0:10:00\ngrabDesktopImages:\tFalse\nlock:\tFalse\n", false},
        {"grabDesktopImages:  OFF \r\n", false},
        {"grabDesktopImages: no", false},
        {"grabDesktopImages:\tTrue\n", true},
        {"grabDesktopImages: 0\n", false},
        {"grabDesktopImages: 1\n", true},
        {"grabDesktopImages: Yes\ngrabDesktopImages: oN\n", true},
        {"grabVideoFrames:\tFalse\n", true},
        {"grabDesktopImages: False\ngrabDesktopImages: True\n", true}, // the last line wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream preferences(c.text);
        EXPECT_EQ(grabDesktopImagesIn(preferences), c.grab);
    }
    EXPECT_TRUE(grabDesktopImages(nullptr));
    EXPECT_TRUE(grabDesktopImages("/nonexistent-home"));
}

} // namespace
