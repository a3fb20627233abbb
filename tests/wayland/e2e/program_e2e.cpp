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

// What a screenshot of one output must show: the colour at its middle, and, when the program
// covers it, black at its left edge, beyond the water.
struct Expected {
    Rgb middle;
    bool covered;
};

// Polls the output's screenshots until they show what is expected; false, with what was last
// seen, on timeout.
bool waitForScreen(const HeadlessCompositor& compositor, const std::string& output, int width,
                   int height, const Expected& expected, double timeout = kTimeout) {
    Rgb middle{};
    Rgb edge{};
    const bool shown = waitUntil(
        [&] {
            RgbPicture shot;
            if (!compositor.screenshot(output, shot)) {
                return false;
            }
            middle = pixelAt(shot, width / 2, height / 2);
            edge = pixelAt(shot, 4, height / 2);
            return near(middle, expected.middle) &&
                   near(edge, expected.covered ? Rgb{0, 0, 0} : expected.middle);
        },
        timeout);
    EXPECT_TRUE(shown) << output << ": middle " << describe(middle) << ", edge " << describe(edge)
                       << "\n"
                       << compositor.log();
    return shown;
}

bool waitForOutputs(const HeadlessCompositor& compositor, bool covered, const Rgb* middle) {
    bool shown = true;
    for (size_t i = 0; i < kOutputs.size(); ++i) {
        const HeadlessOutput& o = kOutputs[i];
        shown = waitForScreen(compositor, o.name, o.width, o.height,
                              {middle ? *middle : rgbOf(o.background), covered}) &&
                shown;
    }
    return shown;
}

const Rgb kWhite = {255, 255, 255};

// The outputs show their own desktops, as before the program.
bool waitForDesktops(const HeadlessCompositor& compositor) {
    return waitForOutputs(compositor, false, nullptr);
}

// Each case runs under a sway of its own, whose outputs show their desktops before it starts.
class UnderSway : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sway.startSway(kOutputs)) << "no headless sway\n" << sway.log();
        ASSERT_TRUE(waitForDesktops(sway));
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
    EXPECT_TRUE(waitForOutputs(sway, true, nullptr));
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
        ASSERT_TRUE(waitForOutputs(sway, true, &kWhite)) << program->errorOutput();
        c.end(sway, program->pid());
        expectExit(0);
        EXPECT_TRUE(waitForDesktops(sway));
    }
}

TEST_F(UnderSway, AnOutputAddedIsCoveredAndOneTakenAwayLeavesTheOthersDrawing) {
    run(kCalm);
    ASSERT_TRUE(waitForOutputs(sway, true, &kWhite)) << program->errorOutput();
    ASSERT_TRUE(sway.swaymsg({"create_output"}));
    // sway gives an output it creates the size of its first.
    waitForScreen(sway, "HEADLESS-3", 1920, 1080, {kWhite, true}, kNewOutputTimeout);
    ASSERT_TRUE(sway.swaymsg({"output", "HEADLESS-1", "disable"}));
    int status = -1;
    EXPECT_FALSE(program->waitExit(1, status)) << "ended with " << status << " when an output went";
    const HeadlessOutput& kept = kOutputs[1];
    waitForScreen(sway, kept.name, kept.width, kept.height, {kWhite, true});
    kill(program->pid(), SIGTERM);
    expectExit(0);
}

// Lying under every window and taking no input, it ends only on a stop signal.
TEST_F(UnderSway, BackgroundDrawsUnderWindowsAndOutlivesAKey) {
    run(kCalm + std::vector<std::string>{"--background"});
    ASSERT_TRUE(waitForOutputs(sway, true, &kWhite)) << program->errorOutput();
    EXPECT_TRUE(sway.typeKey());
    int status = -1;
    EXPECT_FALSE(program->waitExit(1, status)) << "a key ended it";
    kill(program->pid(), SIGTERM);
    expectExit(0);
}

// An idle daemon starts it once the seat has been idle for its timeout; a key ends it.
TEST_F(UnderSway, SwayidleStartsItAfterTheIdleTime) {
    ProgramRun swayidle(ShellLine{"exec swayidle -w timeout 1 '" MEREFLOW_PROGRAM " --source white "
                                  "--drips 0 --no-movement --no-color'"},
                        sway.clientEnvironment());
    EXPECT_TRUE(waitForOutputs(sway, true, &kWhite)) << swayidle.errorOutput();
    EXPECT_TRUE(sway.typeKey());
    EXPECT_TRUE(waitForDesktops(sway));
}

// weston offers no layer shell: a full-screen window covers its output, and it says so.
TEST(UnderWeston, WithoutLayerShellAFullscreenWindowCoversTheOutput) {
    constexpr int kWidth = 1024;
    constexpr int kHeight = 768;
    HeadlessCompositor weston;
    ASSERT_TRUE(weston.startWeston(kWidth, kHeight)) << "no headless weston\n" << weston.log();
    ProgramRun program(kCalm, weston.clientEnvironment());
    waitForScreen(weston, "", kWidth, kHeight, {kWhite, true});
    kill(program.pid(), SIGTERM);
    int status = -1;
    ASSERT_TRUE(program.waitExit(kTimeout, status));
    EXPECT_EQ(status, 0);
    EXPECT_NE(program.errorOutput().find("no layer shell"), std::string::npos)
        << program.errorOutput();
}

} // namespace
