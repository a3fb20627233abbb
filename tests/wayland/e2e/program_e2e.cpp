// The native program end to end under a headless sway and a headless weston: what each output
// shows, how it ends, outputs that come and go, and the fallback without layer shell.
#include <gtest/gtest.h>

#include "headless_compositor.h"
#include "program_run.h"

#include <signal.h>

#include <functional>
#include <string>

namespace {

constexpr double kTimeout = 20; // generous: the machine may be busy
// An output added is covered within a second; grim's screenshot of it may take a second more on
// a busy machine.
constexpr double kNewOutputTimeout = 2;

// Two outputs of different sizes, each with a desktop of its own colour.
const std::vector<HeadlessOutput> kOutputs = {{"HEADLESS-1", 800, 600, 0, 0xC02020},
                                              {"HEADLESS-2", 1280, 720, 800, 0x2040C0}};
// White, still and untinted: the surface lies flat in the middle of each output, black around.
const std::vector<std::string> kCalm = {"--source", "white",         "--drips",
                                        "0",        "--no-movement", "--no-color"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string describe(const Rgb& c) {
    return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
}

// What an output shows: its desktop bare, or the water in its middle, black around it, and in the
// water white or the output's own desktop; or a window of weston-clickdot, dark in the middle.
enum class Shown { kDesktop, kWhiteWater, kDesktopThroughWater, kDarkWindow };

// Polls the output's screenshots until it shows that; false, with what was last seen, on
// timeout.
bool waitForScreen(const HeadlessCompositor& compositor, const std::string& output, Shown shown,
                   unsigned long desktop, double timeout = kTimeout) {
    const Rgb middleWanted = shown == Shown::kWhiteWater ? Rgb{255, 255, 255} : rgbOf(desktop);
    const Rgb edgeWanted = shown == Shown::kDesktop ? rgbOf(desktop) : Rgb{0, 0, 0};
    Rgb middle{};
    Rgb edge{};
    const bool seen = waitUntil(
        [&] {
            RgbPicture shot;
            if (!compositor.screenshot(output, shot)) {
                return false;
            }
            middle = pixelAt(shot, shot.width / 2, shot.height / 2);
            edge = pixelAt(shot, 4, shot.height / 2);
            if (shown == Shown::kDarkWindow) {
                return middle.red + middle.green + middle.blue < 300;
            }
            return near(middle, middleWanted) && near(edge, edgeWanted);
        },
        timeout);
    EXPECT_TRUE(seen) << output << ": middle " << describe(middle) << ", edge " << describe(edge)
                      << "\n"
                      << compositor.log();
    return seen;
}

bool waitForOutputs(const HeadlessCompositor& compositor, Shown shown) {
    bool seen = true;
    for (const HeadlessOutput& o : kOutputs) {
        seen = waitForScreen(compositor, o.name, shown, o.background) && seen;
    }
    return seen;
}

// Each case runs under a sway of its own, whose outputs show their desktops before it starts.
class UnderSway : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sway.startSway(kOutputs)) << "no headless sway\n" << sway.log();
        ASSERT_TRUE(waitForOutputs(sway, Shown::kDesktop));
    }

    ProgramRun* run(const std::vector<std::string>& arguments) {
        program = std::make_unique<ProgramRun>(arguments, sway.clientEnvironment());
        return program.get();
    }

    void expectExit(int wanted) {
        int status = -1;
        ASSERT_TRUE(program->waitExit(kTimeout, status)) << program->errorOutput();
        EXPECT_EQ(status, wanted) << program->errorOutput();
    }

    HeadlessCompositor sway;
    std::unique_ptr<ProgramRun> program;
};

TEST_F(UnderSway, EachOutputShowsItsOwnDesktopThroughTheWater) {
    run(kCalm + std::vector<std::string>{"--source", "desktop"});
    // Each output's middle shows its own colour, not the other's, nor the layout's middle.
    EXPECT_TRUE(waitForOutputs(sway, Shown::kDesktopThroughWater));
    kill(program->pid(), SIGTERM);
    expectExit(0);
    EXPECT_EQ(program->errorOutput(), "");
}

TEST_F(UnderSway, AKeyOrAStopSignalEndsItWithStatusZeroAndUncoversEveryOutput) {
    const struct {
        const char* how;
        std::function<void(HeadlessCompositor&, pid_t)> end;
    } cases[] = {
        {"a key", [](HeadlessCompositor& c, pid_t) { EXPECT_TRUE(c.typeKey()); }},
        {"SIGTERM", [](HeadlessCompositor&, pid_t pid) { kill(pid, SIGTERM); }},
        {"SIGINT", [](HeadlessCompositor&, pid_t pid) { kill(pid, SIGINT); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        run(kCalm);
        ASSERT_TRUE(waitForOutputs(sway, Shown::kWhiteWater)) << program->errorOutput();
        c.end(sway, program->pid());
        expectExit(0);
        EXPECT_TRUE(waitForOutputs(sway, Shown::kDesktop));
    }
}

TEST_F(UnderSway, AnOutputAddedIsCoveredAndOneTakenAwayLeavesTheOthersDrawing) {
    run(kCalm);
    ASSERT_TRUE(waitForOutputs(sway, Shown::kWhiteWater)) << program->errorOutput();
    ASSERT_TRUE(sway.swaymsg({"create_output"}));
    waitForScreen(sway, "HEADLESS-3", Shown::kWhiteWater, 0, kNewOutputTimeout);
    ASSERT_TRUE(sway.swaymsg({"output", "HEADLESS-1", "disable"}));
    int status = -1;
    EXPECT_FALSE(program->waitExit(1, status)) << "ended with " << status << " when an output went";
    waitForScreen(sway, kOutputs[1].name, Shown::kWhiteWater, 0);
    kill(program->pid(), SIGTERM);
    expectExit(0);
}

// Lying under every window and taking no input, it ends only on a stop signal.
TEST_F(UnderSway, BackgroundLiesUnderWindowsAndOutlivesAKey) {
    // NOTE: swaybg's surfaces, on the same layer, lie above it: this desktop is sway's bare one.
    sway.stop();
    ASSERT_TRUE(sway.startSway(kOutputs, false)) << "no headless sway\n" << sway.log();
    run(kCalm + std::vector<std::string>{"--background"});
    ASSERT_TRUE(waitForOutputs(sway, Shown::kWhiteWater)) << program->errorOutput();
    EXPECT_TRUE(sway.typeKey());
    int status = -1;
    EXPECT_FALSE(program->waitExit(1, status)) << "a key ended it";
    // sway tiles the window over the whole of the output that has the focus, the first.
    ProgramRun window(Command{{"weston-clickdot"}}, sway.clientEnvironment());
    waitForScreen(sway, kOutputs[0].name, Shown::kDarkWindow, 0);
    waitForScreen(sway, kOutputs[1].name, Shown::kWhiteWater, 0);
    kill(program->pid(), SIGTERM);
    expectExit(0);
}

// An idle daemon starts it once the seat has been idle for its timeout; a key ends it.
TEST_F(UnderSway, SwayidleStartsItAfterTheIdleTime) {
    ProgramRun swayidle(ShellLine{"exec swayidle -w timeout 1 '" MEREFLOW_PROGRAM " --source white "
                                  "--drips 0 --no-movement --no-color'"},
                        sway.clientEnvironment());
    EXPECT_TRUE(waitForOutputs(sway, Shown::kWhiteWater)) << swayidle.errorOutput();
    EXPECT_TRUE(sway.typeKey());
    EXPECT_TRUE(waitForOutputs(sway, Shown::kDesktop));
}

// weston offers no layer shell: a full-screen window covers its output, and it says so.
TEST(UnderWeston, WithoutLayerShellAFullscreenWindowCoversTheOutput) {
    HeadlessCompositor weston;
    ASSERT_TRUE(weston.startWeston(1024, 768)) << "no headless weston\n" << weston.log();
    ProgramRun program(kCalm, weston.clientEnvironment());
    waitForScreen(weston, "", Shown::kWhiteWater, 0);
    kill(program.pid(), SIGTERM);
    int status = -1;
    ASSERT_TRUE(program.waitExit(kTimeout, status));
    EXPECT_EQ(status, 0);
    EXPECT_NE(program.errorOutput().find("no layer shell"), std::string::npos)
        << program.errorOutput();
}

} // namespace
