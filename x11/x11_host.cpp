// The X11 host: the display opened, the window chosen, and the frame loop on it.
#include "common/clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "native/options/saver_options.h"
#include "native/program/exit_status.h"
#include "native/program/host_gl.h"
#include "native/program/hosts.h"
#include "native/running/display_sleep.h"
#include "native/running/frame_pacer.h"
#include "native/running/stop_signals.h"
#include "scene/frame.h"
#include "scene/scene_start.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "textures/builtin_texture.h"
#include "x11/dpms_power.h"
#include "x11/saver_window.h"
#include "x11/screen_reading.h"
#include "x11/x_error_trap.h"

#include <poll.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

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

// The frame's target is the window it was drawn for.
void presentOnWindow(void* target) {
    static_cast<SaverWindow*>(target)->swapBuffers();
}

bool hasGlxContext() {
    return glXGetCurrentContext() != nullptr;
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

// The water laid out for the screen and the window as they are now, and any pictures cut for it
// uploaded.
void layOutAgain(Display* display, const SaverWindow& window, const DesktopImage& desktop,
                 WaterLayout& layout) {
    if (layOutWater(readScreenShape(display), window.screenRect(), desktop, layout)) {
        XErrorTrap trap(display);
        uploadSourcePicture();
    }
}

// The frame loop, until a stop signal, the window's end or an X error. While the window is
// unmapped, or every display sleeps, no frame is drawn; the water goes on from where it was.
// The layout follows the window's and the screen's events, and while frames are drawn the
// monitors are also looked at once a second: a monitor set by hand in RandR comes with no event.
void runFrames(Display* display, SaverWindow& window, const DesktopImage& desktop,
               WaterLayout& layout, int maxFps) {
    constexpr double kScreenLookMs = 1000;
    FramePacer pacer(maxFps);
    DisplaySleepWatch displaySleep(dpmsPowerReader(display));
    bool layoutDue = false;
    double nextScreenLookMs = readClockMs() + kScreenLookMs;
    while (!stopRequested() && !xErrorVerdict.windowGone && !xErrorVerdict.failed) {
        const WindowEvents events = window.handleEvents();
        if (events.end) {
            break;
        }
        layoutDue = layoutDue || events.placed || events.screenChanged;
        if (!window.showing()) {
            waitForEvents(display, -1);
            continue;
        }
        const SleepStep sleep = displaySleep.step(readClockMs());
        if (sleep == SleepStep::kWait) {
            waitForEvents(display, displaySleep.msUntilCheck(readClockMs()));
            continue;
        }
        if (layoutDue || readClockMs() >= nextScreenLookMs) {
            layOutAgain(display, window, desktop, layout);
            layoutDue = false;
            nextScreenLookMs = readClockMs() + kScreenLookMs;
        }
        if (events.shown || sleep == SleepStep::kResume) {
            restartFrameClock();
        }
        pacer.frameStarted(readClockMs());
        window.drawFrame();
        waitForEvents(display, pacer.waitMs(readClockMs()));
    }
}

int run(Display* display, const WindowChoice& choice, const HostOptions& host) {
    // The preset comes before the picture, so that a preset's Desktop gets the screen.
    crt::srand(clockSeed());
    if (saverSettings.useRandomPreset) {
        pickRandomPreset();
    }
    DesktopImage desktop;
    readSourcePicture(display, choice, host, desktop);
    std::string error;
    SaverWindow window;
    if (!window.open(display, choice, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        const bool gone = xErrorVerdict.windowGone;
        window.close();
        return gone ? endStatus() : kStatusFailed;
    }
    WaterLayout layout;
    layOutWater(readScreenShape(display), window.screenRect(), desktop, layout);
    {
        // The GL driver's own requests name the window too.
        XErrorTrap trap(display);
        startScene(clockSeed());
    }
    runFrames(display, window, desktop, layout, host.maxFps);
    window.close();
    return endStatus();
}

} // namespace

int runX11Host(HostOptions& host, const WindowChoice& choice) {
    hostGl = {presentOnWindow, hasGlxContext};
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mereflow: cannot open the display \"%s\"\n", XDisplayName(nullptr));
        return kStatusFailed;
    }
    const auto lookUp = [display](const std::string& name, uint8_t rgb[3]) {
        return lookUpXColor(display, name, rgb);
    };
    resolveColorNames(host, lookUp);
    for (const std::string& line : host.ignoredValues) {
        std::fprintf(stderr, "mereflow: %s\n", line.c_str());
    }
    installXErrorTraps(display);
    const int status = run(display, choice, host);
    XCloseDisplay(display);
    return status;
}
