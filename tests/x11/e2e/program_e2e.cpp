// The native program end to end on a private Xvfb: where it draws, how it ends, what it shows.
// GoogleTest comes before Xlib, whose macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include "x_test_display.h"

#include "imaging/picture_files.h"

#include <GL/glx.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace {

struct ScreenRectangle {
    int x;
    int y;
    int width;
    int height;
};

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr double kTimeout = 20; // generous: the machine may be busy
// White, still and untinted: the surface lies flat, where the Windows saver puts it.
const std::vector<std::string> kCalm = {"--source", "white",         "--drips",
                                        "0",        "--no-movement", "--no-color"};

PrivateXvfb xvfb;

// The desktop's settings that name a wallpaper file are the tests' own: an empty configuration
// folder, and no GNOME schemas for gsettings to read.
char settingsHome[] = "/tmp/mereflow-e2e-settings-XXXXXX";

class XvfbEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_NE(mkdtemp(settingsHome), nullptr);
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            setenv(variable, settingsHome, 1);
        }
        unsetenv("GSETTINGS_SCHEMA_DIR");
        unsetenv("XDG_CURRENT_DESKTOP");
        ASSERT_TRUE(xvfb.start()) << "no Xvfb";
    }
    void TearDown() override {
        xvfb.stop();
        rmdir(settingsHome);
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Display* display() {
    return xvfb.display();
}

Window root() {
    return DefaultRootWindow(display());
}

// Share of the row's pixels that show the lit surface rather than black.
double litShare(const std::vector<Rgb>& row) {
    int lit = 0;
    for (const Rgb& p : row) {
        lit += p.sum() > 60 ? 1 : 0;
    }
    return row.empty() ? 0.0 : static_cast<double>(lit) / row.size();
}

// Resizes the window from outside; true once a frame has the new viewport, where the surface
// keeps its share of the new width.
bool resizeKeepsTheSurfaceShare(Window window, int width, int height) {
    XResizeWindow(display(), window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display(), False);
    return waitUntil(
        [&] {
            const double share = litShare(readRow(display(), window, height / 2));
            return share > 0.70 && share < 0.76;
        },
        kTimeout);
}

// A window as a daemon would hand it over: a black child of the root, mapped; single-buffered
// when a daemon chose its visual without asking for a double buffer.
Window makeHelperWindow(bool singleBuffered = false) {
    const int screen = DefaultScreen(display());
    int single[] = {GLX_RGBA, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    XVisualInfo* visual = singleBuffered ? glXChooseVisual(display(), screen, single) : nullptr;
    EXPECT_TRUE(visual || !singleBuffered) << "no single-buffered visual";
    XSetWindowAttributes set = {};
    set.colormap = visual ? XCreateColormap(display(), root(), visual->visual, AllocNone)
                          : DefaultColormap(display(), screen);
    const Window window = XCreateWindow(display(), root(), 100, 100, 400, 300, 0,
                                        visual ? visual->depth : CopyFromParent, InputOutput,
                                        visual ? visual->visual : CopyFromParent,
                                        CWColormap | CWBackPixel | CWBorderPixel, &set);
    if (visual) {
        XFree(visual);
    }
    XMapWindow(display(), window);
    XSync(display(), False);
    return window;
}

std::string hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

// The program ends by itself with status 0 and without an X error.
void expectCleanExit(ProgramRun& program) {
    int status = -1;
    ASSERT_TRUE(program.waitExit(kTimeout, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(program.errorOutput().find("X error"), std::string::npos) << program.errorOutput();
}

// Ends the program with SIGTERM and expects a clean end.
void expectCleanStop(ProgramRun& program) {
    kill(program.pid(), SIGTERM);
    expectCleanExit(program);
}

constexpr unsigned long kRed = 0xE02020;
constexpr unsigned long kBlue = 0x2020E0;

// A pixmap of the whole screen, red on its left half and blue on its right.
Pixmap makeScreenPixmap(Display* d) {
    const int width = DisplayWidth(d, DefaultScreen(d));
    return makeTwoColourPixmap(d, DefaultRootWindow(d), width, DisplayHeight(d, DefaultScreen(d)),
                               kRed, kBlue, width / 2);
}

// Paints the root window's background: the left half red, the right half blue, or all black.
void paintRoot(Display* d, bool twoHalves) {
    const Pixmap pixmap =
        twoHalves ? makeScreenPixmap(d)
                  : makeTwoColourPixmap(d, DefaultRootWindow(d), DisplayWidth(d, DefaultScreen(d)),
                                        DisplayHeight(d, DefaultScreen(d)), 0, 0, 0);
    XSetWindowBackgroundPixmap(d, DefaultRootWindow(d), pixmap);
    XClearWindow(d, DefaultRootWindow(d));
    XFreePixmap(d, pixmap);
    XSync(d, False);
}

void paintRoot(bool twoHalves) {
    paintRoot(display(), twoHalves);
}

// Waits until one reading of the row shows each colour at its place, give or take the lighting,
// so that no frame before the one awaited passes for it.
bool waitForColours(Display* d, Window window, int y,
                    const std::vector<std::pair<int, unsigned long>>& colours) {
    int x = 0;
    Rgb seen = {};
    const bool shown = waitUntil(
        [&] {
            const std::vector<Rgb> row = readRow(d, window, y);
            for (const auto& [at, colour] : colours) {
                x = at;
                seen = static_cast<int>(row.size()) > x ? row[x] : Rgb{};
                if (std::abs(seen.red - static_cast<int>(colour >> 16)) >= 40 ||
                    std::abs(seen.green - static_cast<int>(colour >> 8 & 0xFF)) >= 40 ||
                    std::abs(seen.blue - static_cast<int>(colour & 0xFF)) >= 40) {
                    return false;
                }
            }
            return true;
        },
        kTimeout);
    EXPECT_TRUE(shown) << "at " << x << "," << y << ": " << seen.red << " " << seen.green << " "
                       << seen.blue;
    return shown;
}

// Waits until the pixel at (x, y) of the window shows the colour.
bool waitForColour(Display* d, Window window, int x, int y, unsigned long colour) {
    return waitForColours(d, window, y, {{x, colour}});
}

TEST(NativeProgram, FullscreenWhiteLiesWhereTheWindowsSaverPutsIt) {
    paintRoot(false);
    ProgramRun program(std::vector<std::string>{"--fullscreen"} + kCalm);
    ASSERT_TRUE(waitForLitPixel(display(), root(), kScreenWidth / 2, kScreenHeight / 2, kTimeout));
    usleep(300000); // a few more frames
    const double share = litShare(readRow(display(), root(), kScreenHeight / 2));
    EXPECT_NEAR(share, 0.73, 0.03);
    expectCleanStop(program);
}

TEST(NativeProgram, FullscreenEndsOnceThePointerMovesMoreThanFourPixels) {
    const auto warp = [](int x) {
        XWarpPointer(display(), 0, root(), 0, 0, 0, 0, x, kScreenHeight / 2);
        XSync(display(), False);
    };
    warp(500);
    ProgramRun program(std::vector<std::string>{"--fullscreen"} + kCalm);
    ASSERT_TRUE(waitForLitPixel(display(), root(), kScreenWidth / 2, kScreenHeight / 2, kTimeout));
    warp(502);
    int status = -1;
    EXPECT_FALSE(program.waitExit(1, status)) << "ended after a move of 2 px";
    warp(510);
    expectCleanExit(program);
}

// The first top-level window named like the program's own, or 0.
Window findOwnWindow() {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display(), root(), &rootReturn, &parent, &children, &count);
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        if (XFetchName(display(), children[i], &name) && name) {
            found = std::string(name) == "3D Mereflow" ? children[i] : 0;
            XFree(name);
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

TEST(NativeProgram, ItsOwnWindowFollowsItsSize) {
    ProgramRun program(kCalm);
    Window window = 0;
    ASSERT_TRUE(waitUntil([&] { return (window = findOwnWindow()) != 0; }, kTimeout));
    ASSERT_TRUE(waitForLitPixel(display(), window, 320, 240, kTimeout));
    EXPECT_NEAR(litShare(readRow(display(), window, 240)), 0.73, 0.03);
    XClassHint classHint = {};
    ASSERT_TRUE(XGetClassHint(display(), window, &classHint));
    EXPECT_EQ(std::string(classHint.res_name) + " " + classHint.res_class, "mereflow Mereflow");
    XFree(classHint.res_name);
    XFree(classHint.res_class);
    EXPECT_TRUE(resizeKeepsTheSurfaceShare(window, 400, 300));
    expectCleanStop(program);
}

// One that cannot be had, or none given, shows Chomify with one line: an end would leave a
// daemon's monitor black.
TEST(NativeProgram, CustomShowsThePictureFileOrChomifyWithOneLine) {
    const std::string path = "/tmp/mereflow-e2e-green-" + std::to_string(getpid()) + ".ppm";
    {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n16 16\n255\n";
        for (int i = 0; i < 16 * 16; ++i) {
            out << static_cast<char>(0) << static_cast<char>(200) << static_cast<char>(0);
        }
    }
    {
        ProgramRun program({"--fullscreen", "--source", "custom", "--picture", path, "--drips", "0",
                            "--no-movement", "--no-color"});
        ASSERT_TRUE(waitUntil(
            [] {
                const Rgb middle = readRow(display(), root(), kScreenHeight / 2)[kScreenWidth / 2];
                return middle.green > 150 && middle.red < 50;
            },
            kTimeout));
        expectCleanStop(program);
    }
    std::remove(path.c_str());
    const struct {
        std::vector<std::string> picture;
        std::string why;
    } cases[] = {
        {{"--picture", path}, path + ": cannot open the file: No such file or directory"},
        {{}, "-source custom needs -picture FILE"},
    };
    for (const auto& c : cases) {
        ProgramRun program(std::vector<std::string>{"--fullscreen", "--source", "custom"} +
                           c.picture);
        EXPECT_TRUE(
            waitForLitPixel(display(), root(), kScreenWidth / 2, kScreenHeight / 2, kTimeout));
        expectCleanStop(program);
        EXPECT_EQ(program.errorOutput(), "mereflow: " + c.why + "; showing Chomify instead\n");
    }
}

// SOI, a quantisation table, a 16384 x 16384 grey frame and a scan header, then 800 bytes in all
// of scan data that end long before the last scanline (the decoder's default Huffman tables
// serve).
std::string jpegBomb() {
    std::string bytes("\xff\xd8\xff\xdb\x00\x43\x00", 7);
    bytes.append(64, '\x01');
    bytes.append("\xff\xc0\x00\x0b\x08\x40\x00\x40\x00\x01\x01\x11\x00", 13);
    bytes.append("\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00", 10);
    bytes.resize(800, '\0');
    return bytes;
}

// A few bytes that claim 16384 x 16384 pixels, under the address-space limit a daemon's line may
// set: Chomify and one line, never an abort.
TEST(NativeProgram, PictureBombsShowChomifyUnderAMemoryLimit) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer cannot start under an address-space limit";
#endif
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"bomb.ppm", "P6\n16384 16384\n255\n"},
        {"bomb.jpg", jpegBomb()},
        {"bomb.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x40\0\0\0\x40\0\x08\x02\0\0\0"
                                 "\x26\xaa\x87\xd3\0\x01\0\0IDAT\x78\x9c",
                                 43)},
    };
    for (const auto& c : cases) {
        const std::string path = "/tmp/mereflow-e2e-" + std::to_string(getpid()) + "-" + c.name;
        std::ofstream(path, std::ios::binary) << c.bytes;
        // NOTE: llvmpipe's rasterizer threads take enough of the address space that, so near
        // the limit, Mesa fails an allocation of its own now and then and crashes on it; with
        // none, the frames are drawn on the program's own thread.
        ProgramRun program(ShellLine{"ulimit -v 524288; LP_NUM_THREADS=0 exec " MEREFLOW_PROGRAM
                                     " --fullscreen --source custom --picture " +
                                     path});
        EXPECT_TRUE(
            waitForLitPixel(display(), root(), kScreenWidth / 2, kScreenHeight / 2, kTimeout))
            << c.name;
        expectCleanStop(program);
        EXPECT_EQ(program.errorOutput(),
                  "mereflow: " + path + ": the picture is too large; showing Chomify instead\n");
        std::remove(path.c_str());
    }
}

TEST(NativeProgram, DrawsIntoAWindowHandedOver) {
    struct Case {
        const char* how;
        std::vector<std::string> arguments;
        bool throughEnvironment;
        bool singleBuffered;
        bool resized; // by its maker, after the first frames
    };
    const Case cases[] = {
        {"--window-id in hexadecimal", {"--window-id"}, false, false, false},
        {"XSCREENSAVER_WINDOW with -root, resized", {"-root"}, true, false, true},
        {"a single-buffered window, resized", {"-root"}, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const Window window = makeHelperWindow(c.singleBuffered);
        std::vector<std::string> arguments = c.arguments;
        std::vector<std::string> environment;
        if (c.throughEnvironment) {
            environment.push_back("XSCREENSAVER_WINDOW=" + hex(window));
        } else {
            arguments.push_back(hex(window));
        }
        const int windowsBefore = countTopLevelWindows(display());
        ProgramRun program(arguments + kCalm, environment);
        EXPECT_TRUE(waitForLitPixel(display(), window, 200, 150, kTimeout));
        // Beside the helper's window the screen stays as it was, and no window of its own came.
        EXPECT_LT(readRow(display(), root(), 50)[512].sum(), 60);
        EXPECT_EQ(countTopLevelWindows(display()), windowsBefore);
        if (c.resized) {
            EXPECT_TRUE(resizeKeepsTheSurfaceShare(window, 300, 200));
        }
        expectCleanStop(program);
        XDestroyWindow(display(), window);
        XSync(display(), False);
    }
}

// After its first frames, or at any moment while the program starts, as a daemon may do.
TEST(NativeProgram, EndsCleanlyWhenItsWindowIsDestroyed) {
    for (int ms = -1; ms <= 150; ms += ms < 0 ? 1 : 10) {
        SCOPED_TRACE(ms < 0 ? "after the first frame" : std::to_string(ms) + " ms after the start");
        const Window window = makeHelperWindow();
        ProgramRun program(std::vector<std::string>{"--window-id", std::to_string(window)} + kCalm);
        if (ms < 0) {
            ASSERT_TRUE(waitForLitPixel(display(), window, 200, 150, kTimeout));
        } else {
            usleep(static_cast<useconds_t>(ms) * 1000);
        }
        XDestroyWindow(display(), window);
        XSync(display(), False);
        expectCleanExit(program);
    }
}

// As a daemon runs a line with shell characters: through /bin/sh -c, with exec so that the
// SIGTERM that stops it reaches the program rather than the shell.
ShellLine shellLine(const std::string& arguments) {
    return {std::string("exec ") + MEREFLOW_PROGRAM + " " + arguments};
}

// A value the program cannot use keeps its setting's value and the program draws, as a daemon
// leaves a monitor black when its program ends; what it cannot go on without ends it before any
// window, with status 2.
TEST(NativeProgram, BadValuesKeepTheirValueAndBadOptionsExitTwo) {
    const std::string colour = "a colour: #rrggbb, rrggbb, 0xrrggbb or an X colour name";
    const std::string kept = "; keeping its value";
    const struct {
        const char* line;
        std::string error;
        bool draws;
    } cases[] = {
        {"--fullscreen --drips 16", "--drips 16: expected a whole number from 0 to 15" + kept,
         true},
        // The name is read once the display is open.
        {"-fullscreen -min-color nosuchcolour",
         "-min-color nosuchcolour: expected " + colour + kept, true},
        // The shell drops the comment that "#00ff00" begins.
        {"-fullscreen -max-color #00ff00",
         "-max-color needs a value: " + colour +
             " (a shell drops everything from # on: write ff0000 or red)" + kept,
         true},
        // What Xfce's settings dialog writes for an untouched settings file: whole numbers only,
        // and its colour buttons' untouched black.
        {"-fullscreen -drips 3 -min-amplitude 4 -max-amplitude 10 -speed 0 -grid-x 80 -grid-y 60 "
         "-max-fps 60 -min-color '#000000' -max-color '#000000' -zoom-amplitude 14",
         "-speed 0: expected a number from 0.1 to 3" + kept, true},
        {"-fullscreen -drips -speed 2", "-drips needs a value: a whole number from 0 to 15" + kept,
         true},
        {"-fullscreen -root=1", "-root=1: -root takes no value", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const int windowsBefore = countTopLevelWindows(display());
        ProgramRun program(shellLine(c.line));
        if (c.draws) {
            EXPECT_TRUE(
                waitForLitPixel(display(), root(), kScreenWidth / 2, kScreenHeight / 2, kTimeout));
            expectCleanStop(program);
        } else {
            int status = -1;
            ASSERT_TRUE(program.waitExit(kTimeout, status));
            EXPECT_EQ(status, 2);
            EXPECT_EQ(countTopLevelWindows(display()), windowsBefore);
        }
        EXPECT_EQ(program.errorOutput(), "mereflow: " + c.error + "\n");
    }
}

// A line as a user writes it into ~/.xscreensaver: a quoted picture path with a space, and
// colours in the forms a shell leaves alone.
TEST(NativeProgram, ALineThroughTheShellDraws) {
    const std::string path = "/tmp/mereflow e2e " + std::to_string(getpid()) + ".ppm";
    {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n2 2\n255\n" << std::string(12, static_cast<char>(200));
    }
    ProgramRun program(shellLine("-fullscreen -source custom -picture '" + path +
                                 "' -min-color ff0000 -max-color red -drips=0 -no-movement"));
    EXPECT_TRUE(waitForLitPixel(display(), root(), kScreenWidth / 2, kScreenHeight / 2, kTimeout));
    expectCleanStop(program);
    EXPECT_EQ(program.errorOutput(), "");
    std::remove(path.c_str());
}

TEST(NativeProgram, DesktopShowsTheScreenAsItWasAtStart) {
    paintRoot(true);
    ProgramRun program(
        {"--fullscreen", "--source", "desktop", "--drips", "0", "--no-movement", "--no-color"});
    // The first frame has come when the screen's edge, beyond the surface, is black (the
    // window is up) and the surface is not (it is drawn).
    std::vector<Rgb> row;
    ASSERT_TRUE(waitUntil(
        [&] {
            row = readRow(display(), root(), kScreenHeight / 2);
            return row[4].sum() < 30 && row[kScreenWidth * 35 / 100].sum() > 60 &&
                   row[kScreenWidth * 65 / 100].sum() > 60;
        },
        kTimeout));
    const Rgb left = row[kScreenWidth * 35 / 100];
    const Rgb right = row[kScreenWidth * 65 / 100];
    EXPECT_GT(left.red, left.blue + 100);
    EXPECT_GT(right.blue, right.red + 100);
    expectCleanStop(program);
    EXPECT_EQ(program.errorOutput(), "");
}

// What a daemon does before it starts the program on each monitor: two black windows, one per
// half of the screen, each carrying the screenshot of its half where the daemon takes one. The
// left one's is of its size; the right one's is of the whole screen, its own half blue, to be cut
// at the window's place.
struct DaemonWindows {
    static constexpr unsigned long kColours[2] = {0x20E020, kBlue};
    Window windows[2];
    Pixmap screenshots[2] = {};

    explicit DaemonWindows(bool withScreenshots) {
        for (int i = 0; i < 2; ++i) {
            windows[i] = XCreateSimpleWindow(display(), root(), i * kScreenWidth / 2, 0,
                                             kScreenWidth / 2, kScreenHeight, 0, 0, 0);
            XMapWindow(display(), windows[i]);
            if (!withScreenshots) {
                continue;
            }
            screenshots[i] = i == 0 ? setScreenshot(display(), windows[i], kScreenWidth / 2,
                                                    kScreenHeight, kColours[i], 0)
                                    : setScreenshot(display(), windows[i], kScreenWidth,
                                                    kScreenHeight, kColours[i], kScreenWidth / 2);
        }
        XSync(display(), False);
    }
    ~DaemonWindows() {
        for (int i = 0; i < 2; ++i) {
            XDestroyWindow(display(), windows[i]);
            if (screenshots[i] != 0) {
                XFreePixmap(display(), screenshots[i]);
            }
        }
        XSync(display(), False);
    }
    std::string environment(int i) const { return "XSCREENSAVER_WINDOW=" + hex(windows[i]); }
};

// Each of the daemon's windows shows its own monitor's desktop: the screenshot it carries, or,
// where the daemon takes none and its black windows cover the screen, the wallpaper.
TEST(NativeProgram, UnderADaemonDesktopShowsEachMonitorsOwnPart) {
    const struct {
        const char* how;
        bool screenshots;
        const char* wallpaper; // the root property that names it, or null
        bool kdeFile;          // whether Plasma's settings name a picture file
        unsigned long colours[2];
    } cases[] = {
        {"the daemon's screenshots", true, nullptr, false, {DaemonWindows::kColours[0], kBlue}},
        {"the wallpaper in _XROOTPMAP_ID", false, "_XROOTPMAP_ID", false, {kRed, kBlue}},
        {"the wallpaper in ESETROOT_PMAP_ID", false, "ESETROOT_PMAP_ID", false, {kRed, kBlue}},
        // Two columns zoomed over the screen: the left quarter red, the right quarter blue.
        {"the wallpaper file Plasma names", false, nullptr, true, {kRed, kBlue}},
    };
    const std::string picture = std::string(settingsHome) + "/wallpaper.png";
    const std::string appletsrc =
        std::string(settingsHome) + "/plasma-org.kde.plasma.desktop-appletsrc";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        // The root behind the screenshots is of two colours, to show that they come first.
        paintRoot(c.screenshots);
        const DaemonWindows daemon(c.screenshots);
        std::optional<RootPixmapProperty> wallpaper;
        if (c.wallpaper) {
            wallpaper.emplace(display(), c.wallpaper, makeScreenPixmap(display()));
        }
        if (c.kdeFile) {
            std::string error;
            ASSERT_TRUE(writePng(picture, {{255, 0, 0, 0, 0, 255}, 2, 1}, error)) << error;
            std::ofstream(appletsrc) << "[Containments][1][Wallpaper][org.kde.image][General]\n"
                                        "Image=file://"
                                     << picture << "\n";
        }
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            ProgramRun program(kCalm + std::vector<std::string>{"-root", "--source", "desktop"},
                               {daemon.environment(i)});
            waitForColour(display(), daemon.windows[i], kScreenWidth / 4, kScreenHeight / 2,
                          c.colours[i]);
            expectCleanStop(program);
            EXPECT_EQ(program.errorOutput(), "");
            // Black again, as the daemon keeps it, so that the next one reads a blank screen.
            XClearWindow(display(), daemon.windows[i]);
            XSync(display(), False);
        }
        std::remove(appletsrc.c_str());
        std::remove(picture.c_str());
    }
}

// Under a daemon a screen of one colour is its blank cover, and gives Chomify; standalone it is
// the desktop itself, and shows.
TEST(NativeProgram, DesktopFallsBackToChomifyAndSaysWhy) {
    char home[] = "/tmp/mereflow-e2e-home-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    std::ofstream(std::string(home) + "/.xscreensaver")
        << "timeout:\t0:10:00\ngrabDesktopImages:\tFalse\n";
    // The wallpaper's pixmap is gone.
    RootPixmapProperty wallpaper(display(), "_XROOTPMAP_ID", makeScreenPixmap(display()));
    wallpaper.freePixmap();
    struct Case {
        const char* how;
        bool underDaemon; // whose windows cover the screen in black, the first handed over
        bool grabbingOff;
        unsigned long colour; // that the water shows, or 0 for Chomify
        const char* line;
    };
    const Case cases[] = {
        {"a screen of one colour under a daemon and a wallpaper freed", true, false, 0,
         "mereflow: no screenshot, the screen is one colour and no wallpaper is set; showing "
         "Chomify instead\n"},
        {"grabbing turned off under a daemon", true, true, 0,
         "mereflow: desktop grabbing is off (grabDesktopImages in ~/.xscreensaver); showing "
         "Chomify instead\n"},
        {"a desktop of one colour standalone and a wallpaper freed", false, false, 0x20E020, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const Pixmap plain = makeTwoColourPixmap(display(), root(), kScreenWidth, kScreenHeight,
                                                 c.colour, c.colour, 0);
        XSetWindowBackgroundPixmap(display(), root(), plain);
        XClearWindow(display(), root());
        XFreePixmap(display(), plain);
        std::optional<DaemonWindows> daemon;
        std::vector<std::string> arguments = {"--fullscreen"};
        std::vector<std::string> environment;
        if (c.underDaemon) {
            daemon.emplace(false);
            arguments = {"-root"};
            environment.push_back(daemon->environment(0));
        }
        if (c.grabbingOff) {
            environment.push_back("HOME=" + std::string(home));
        }
        const Window drawn = daemon ? daemon->windows[0] : root();
        const int middle = daemon ? kScreenWidth / 4 : kScreenWidth / 2;
        ProgramRun program(arguments + std::vector<std::string>{"--source", "desktop", "--drips",
                                                                "0", "--no-movement", "--no-color"},
                           environment);
        if (c.colour != 0) {
            // The window is up once the screen's edge, beyond the surface, is black.
            ASSERT_TRUE(waitUntil(
                [&] { return readRow(display(), drawn, kScreenHeight / 2)[4].sum() < 30; },
                kTimeout));
            waitForColour(display(), drawn, middle, kScreenHeight / 2, c.colour);
        } else {
            ASSERT_TRUE(waitForLitPixel(display(), drawn, middle, kScreenHeight / 2, kTimeout))
                << program.errorOutput();
        }
        expectCleanStop(program);
        EXPECT_EQ(program.errorOutput(), c.line);
    }
    paintRoot(false);
    std::remove((std::string(home) + "/.xscreensaver").c_str());
    rmdir(home);
}

// Adds a RandR monitor; the first takes over the screen's one output, so that it replaces the
// monitor Xvfb makes of the whole screen.
void addRandrMonitor(Display* d, const char* name, const ScreenRectangle& r, bool first) {
    XRRScreenResources* resources = XRRGetScreenResources(d, DefaultRootWindow(d));
    XRRMonitorInfo* monitor = XRRAllocateMonitor(d, first ? 1 : 0);
    monitor->name = XInternAtom(d, name, False);
    monitor->primary = first;
    monitor->x = r.x;
    monitor->y = r.y;
    monitor->width = r.width;
    monitor->height = r.height;
    monitor->mwidth = r.width / 4; // about 100 pixels an inch
    monitor->mheight = r.height / 4;
    if (first) {
        monitor->outputs[0] = resources->outputs[0];
    }
    XRRSetMonitor(d, DefaultRootWindow(d), monitor);
    XFree(monitor);
    XRRFreeScreenResources(resources);
}

// A 1824 x 768 screen on a private Xvfb, with two RandR monitors side by side; stopped, and
// DISPLAY given back, however the case ends.
struct TwoRandrMonitors {
    static constexpr ScreenRectangle kMonitors[2] = {{0, 0, 1024, 768}, {1024, 0, 800, 600}};
    PrivateXvfb xvfb;

    bool start() {
        if (!xvfb.start(1824, 768)) {
            return false;
        }
        addRandrMonitor(display(), "MEREFLOW-1", kMonitors[0], true);
        addRandrMonitor(display(), "MEREFLOW-2", kMonitors[1], false);
        int count = 0;
        XRRFreeMonitors(XRRGetMonitors(display(), DefaultRootWindow(display()), True, &count));
        return count == 2;
    }
    Display* display() const { return xvfb.display(); }
};

TEST(NativeProgram, FullscreenWhiteLiesWholeInEachRandrMonitor) {
    TwoRandrMonitors screen;
    ASSERT_TRUE(screen.start());
    Display* d = screen.display();
    ProgramRun program(std::vector<std::string>{"--fullscreen"} + kCalm);
    for (const ScreenRectangle& m : TwoRandrMonitors::kMonitors) {
        SCOPED_TRACE(m.x);
        // The surface covers 73 % of each monitor's middle row, centred in the monitor.
        EXPECT_TRUE(waitUntil(
            [&] {
                const std::vector<Rgb> row = readRow(d, DefaultRootWindow(d), m.y + m.height / 2);
                const std::vector<Rgb> part(row.begin() + m.x, row.begin() + m.x + m.width);
                int first = -1;
                int last = -1;
                for (int x = 0; x < m.width; ++x) {
                    if (part[x].sum() > 60) {
                        last = x;
                        first = first < 0 ? x : first;
                    }
                }
                const double share = litShare(part);
                return share > 0.70 && share < 0.76 &&
                       std::abs(first + last - m.width) < m.width / 50;
            },
            kTimeout));
    }
    expectCleanStop(program);
}

// -root with Desktop follows the screen as it changes under it: one monitor at start, then two on
// a narrower screen, each with its own water and its own part of the desktop.
TEST(NativeProgram, DesktopFollowsTheScreenAsItChanges) {
    PrivateXvfb wide;
    ASSERT_TRUE(wide.start(1824, 768));
    Display* d = wide.display();
    const Window shown = DefaultRootWindow(d);
    paintRoot(d, true);
    ProgramRun program(kCalm + std::vector<std::string>{"-root", "--source", "desktop"});
    // One water: black beyond its edge.
    ASSERT_TRUE(waitForColours(d, shown, 384, {{100, 0}, {1200, kBlue}})) << program.errorOutput();
    // As a user's xrandr may: the one output off, two monitors set by hand (which tells no one),
    // then the screen shrunk to hold just them (which sends events).
    XRRScreenResources* resources = XRRGetScreenResources(d, shown);
    XRRSetCrtcConfig(d, resources, resources->crtcs[0], CurrentTime, 0, 0, 0, RR_Rotate_0, nullptr,
                     0);
    XRRFreeScreenResources(resources);
    addRandrMonitor(d, "MEREFLOW-1", {0, 0, 912, 768}, false);
    addRandrMonitor(d, "MEREFLOW-2", {912, 0, 456, 768}, false);
    XRRSetScreenSize(d, shown, 1368, 768, 1368 / 4, 768 / 4);
    XSync(d, False);
    // Where the monitors meet, two waters leave black between them; one would be lit there.
    EXPECT_TRUE(waitForColours(d, shown, 384, {{456, kRed}, {912, 0}, {1140, kBlue}}));
    expectCleanStop(program);
    EXPECT_EQ(program.errorOutput(), "");
}

// Desktop gives each monitor its own part of the screen: of the wallpaper behind -root, and of
// the screenshot of a handed-over window that grows to span the screen after its first frames.
TEST(NativeProgram, OnTwoRandrMonitorsDesktopGivesEachItsOwnPart) {
    TwoRandrMonitors screen;
    ASSERT_TRUE(screen.start());
    Display* d = screen.display();
    paintRoot(d, false);
    for (const bool grows : {false, true}) {
        SCOPED_TRACE(grows ? "a window grown to span the screen" : "-root and the wallpaper");
        std::optional<RootPixmapProperty> wallpaper;
        Window drawn = DefaultRootWindow(d);
        std::vector<std::string> environment;
        if (grows) {
            drawn = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 400, 300, 0, 0, 0);
            XMapWindow(d, drawn);
            setPixmapProperty(d, drawn, "_SCREENSAVER_SCREENSHOT", makeScreenPixmap(d));
            environment.push_back("XSCREENSAVER_WINDOW=" + hex(drawn));
        } else {
            wallpaper.emplace(d, "_XROOTPMAP_ID", makeScreenPixmap(d));
        }
        ProgramRun program(kCalm + std::vector<std::string>{"-root", "--source", "desktop"},
                           environment);
        if (grows) {
            ASSERT_TRUE(waitForColour(d, drawn, 200, 150, kRed));
            XResizeWindow(d, drawn, 1824, 768);
            XSync(d, False);
        }
        const unsigned long colours[2] = {kRed, kBlue};
        for (int i = 0; i < 2; ++i) {
            const ScreenRectangle& m = TwoRandrMonitors::kMonitors[i];
            waitForColour(d, drawn, m.x + m.width / 2, m.y + m.height / 2, colours[i]);
        }
        expectCleanStop(program);
        EXPECT_EQ(program.errorOutput(), "");
        if (grows) {
            XDestroyWindow(d, drawn);
        }
    }
}

} // namespace
