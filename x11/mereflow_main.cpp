// mereflow: the water on X11, standalone or as a screen-saver daemon's program.
#include "common/clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "scene/frame.h"
#include "scene/scene_start.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "textures/rgb_picture.h"
#include "textures/source_picture.h"
#include "x11/custom_picture.h"
#include "x11/desktop_picture.h"
#include "x11/display_sleep.h"
#include "x11/dpms_power.h"
#include "x11/frame_pacer.h"
#include "x11/monitor_list.h"
#include "x11/saver_options.h"
#include "x11/saver_window.h"
#include "x11/stop_signals.h"
#include "x11/window_choice.h"
#include "x11/x_error_trap.h"

#include <poll.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kStatusFailed = 1;
constexpr int kStatusBadOption = 2;

// Whether a window of that size spans the screen: then each monitor shows its own water (and,
// with Desktop, its own part of the screen); a smaller window shows the water once, as the
// Windows preview does.
bool spansScreen(Display* display, int width, int height) {
    const int screen = DefaultScreen(display);
    return width >= DisplayWidth(display, screen) && height >= DisplayHeight(display, screen);
}

bool willSpanScreen(Display* display, const WindowChoice& choice) {
    if (choice.kind == WindowKind::kRoot || choice.kind == WindowKind::kFullscreen) {
        return true;
    }
    if (choice.kind != WindowKind::kHandedOver) {
        return false;
    }
    XWindowAttributes attributes = {};
    XErrorTrap trap(display);
    return XGetWindowAttributes(display, choice.id, &attributes) &&
           spansScreen(display, attributes.width, attributes.height);
}

// One desktop picture per monitor, primary first, for a window that spans the screen; else the
// whole screen in one.
bool cutDesktopPictures(Display* display, const RgbPicture& screen, bool perMonitor) {
    if (!perMonitor) {
        return stretchIntoSourcePicture(screen);
    }
    return cutMonitorPictures(screen, listMonitors(display), {0, 0, screen.width, screen.height});
}

// The screen as the program, or the daemon that handed the window over, found it; Chomify when
// it cannot be had.
void prepareDesktopPicture(Display* display, const WindowChoice& choice) {
    RgbPicture screen;
    std::string whyNot;
    const Window handedOver = choice.kind == WindowKind::kHandedOver ? choice.id : 0;
    if (readDesktopPicture(display, handedOver, screen, whyNot)) {
        if (cutDesktopPictures(display, screen, willSpanScreen(display, choice))) {
            return;
        }
        whyNot = "no memory for the desktop picture";
    }
    freeSourcePixels();
    std::fprintf(stderr, "mereflow: %s; showing Chomify instead\n", whyNot.c_str());
    saverSettings.sourceTexture = kSourceChomify;
}

// Fills the source picture for Desktop and Custom before anything is drawn.
bool prepareSourcePicture(Display* display, const WindowChoice& choice, const HostOptions& host,
                          std::string& error) {
    sourcePicture.width = saverSettings.textureWidth;
    sourcePicture.height = saverSettings.textureHeight;
    if (saverSettings.sourceTexture == kSourceDesktop) {
        prepareDesktopPicture(display, choice);
    } else if (saverSettings.sourceTexture == kSourceCustom) {
        return loadCustomPicture(host.picturePath, error);
    }
    return true;
}

// An X colour name ("red", "rgb:ff/80/00"), from the screen's default colormap; each channel's
// high byte.
bool lookUpXColor(Display* display, const std::string& name, uint8_t rgb[3]) {
    XColor color = {};
    if (!XParseColor(display, DefaultColormap(display, DefaultScreen(display)), name.c_str(),
                     &color)) {
        return false;
    }
    rgb[0] = static_cast<uint8_t>(color.red >> 8);
    rgb[1] = static_cast<uint8_t>(color.green >> 8);
    rgb[2] = static_cast<uint8_t>(color.blue >> 8);
    return true;
}

// Where the frames draw: one viewport per monitor on a window that spans the screen.
void layoutViewports(Display* display, const SaverWindow& window) {
    frameViewports = layoutMonitors(listMonitors(display), window.screenRect(),
                                    !spansScreen(display, window.width(), window.height()));
}

// Waits up to waitMs (for ever when negative) for an X event or a stop signal.
void waitForEvents(Display* display, double waitMs) {
    if (waitMs == 0 || XPending(display) > 0) {
        return;
    }
    pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {stopSignalFd(), POLLIN, 0}};
    poll(waits, 2, waitMs < 0 ? -1 : static_cast<int>(std::ceil(waitMs)));
}

// A seed from the clock: through 64 bits first, as a double beyond 32 bits (after 49.7 days of
// uptime) does not convert to uint32_t.
uint32_t clockSeed() {
    return static_cast<uint32_t>(static_cast<uint64_t>(readClockMs()));
}

// The status an ended run leaves: X errors other than the window's going fail it.
int endStatus() {
    return xErrorVerdict.failed ? kStatusFailed : 0;
}

int run(Display* display, const WindowChoice& choice, const HostOptions& host) {
    // The preset comes before the picture, so that a preset's Desktop gets the screen.
    crt::srand(clockSeed());
    if (saverSettings.useRandomPreset) {
        pickRandomPreset();
    }
    std::string error;
    if (!prepareSourcePicture(display, choice, host, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        return kStatusFailed;
    }
    SaverWindow window;
    if (!window.open(display, choice, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        const bool gone = xErrorVerdict.windowGone;
        window.close();
        return gone ? endStatus() : kStatusFailed;
    }
    layoutViewports(display, window);
    {
        // The GL driver's own requests name the window too.
        XErrorTrap trap(display);
        startScene(clockSeed());
    }

    FramePacer pacer(host.maxFps);
    DisplaySleepWatch displaySleep(dpmsPowerReader(display));
    while (!stopRequested() && !xErrorVerdict.windowGone && !xErrorVerdict.failed) {
        const WindowEvents events = window.handleEvents();
        if (events.end) {
            break;
        }
        if (events.resized) {
            layoutViewports(display, window);
        }
        if (!window.showing()) {
            waitForEvents(display, -1);
            continue;
        }
        // While every display sleeps no frame is drawn; the water goes on from where it was.
        const SleepStep sleep = displaySleep.step(readClockMs());
        if (sleep == SleepStep::kWait) {
            waitForEvents(display, displaySleep.msUntilCheck(readClockMs()));
            continue;
        }
        if (events.shown || sleep == SleepStep::kResume) {
            restartFrameClock();
        }
        pacer.frameStarted(readClockMs());
        window.drawFrame();
        waitForEvents(display, pacer.waitMs(readClockMs()));
    }
    window.close();
    return endStatus();
}

} // namespace

int main(int argc, char** argv) {
    HostOptions host;
    std::string error;
    if (!parseSaverOptions(argc, argv, host, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        return kStatusBadOption;
    }
    if (host.help) {
        std::fputs(saverOptionsHelp().c_str(), stdout);
        return 0;
    }
    WindowChoice choice{};
    if (!chooseWindow(host, std::getenv("XSCREENSAVER_WINDOW"), choice, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        return kStatusBadOption;
    }
    if (!catchStopSignals()) {
        std::fprintf(stderr, "mereflow: cannot catch the stop signals\n");
        return kStatusFailed;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mereflow: cannot open the display \"%s\"\n", XDisplayName(nullptr));
        return kStatusFailed;
    }
    const auto lookUp = [display](const std::string& name, uint8_t rgb[3]) {
        return lookUpXColor(display, name, rgb);
    };
    if (!resolveColorNames(host, lookUp, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        XCloseDisplay(display);
        return kStatusBadOption;
    }
    installXErrorTraps(display);
    const int status = run(display, choice, host);
    XCloseDisplay(display);
    return status;
}
