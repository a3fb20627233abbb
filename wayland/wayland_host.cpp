// The Wayland host: the compositor's globals and outputs read, every output covered, and the
// frame loop paced on the covers' frame callbacks.
#include "common/clock.h"
#include "common/random.h"
#include "native/layout/water_layout.h"
#include "native/options/color_names.h"
#include "native/options/saver_options.h"
#include "native/program/exit_status.h"
#include "native/program/hosts.h"
#include "native/running/frame_pacer.h"
#include "native/running/stop_signals.h"
#include "scene/frame.h"
#include "scene/scene_start.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "textures/builtin_texture.h"
#include "wayland/cover_surfaces.h"
#include "wayland/egl_context.h"
#include "wayland/outputs.h"
#include "wayland/seat_input.h"
#include "wayland/source_reading.h"

#include <poll.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// While no cover waits to be drawn, the loop still wakes this often; signals and input wake it
// at once anyway.
constexpr int kIdleWaitMs = 1000;
// A pause in drawing longer than this (every output stopped) is no animation time.
constexpr double kPauseMs = 500;

uint32_t clockSeed() {
    return static_cast<uint32_t>(static_cast<uint64_t>(readClockMs()));
}

// Waits up to waitMs for the compositor's events or a stop signal, then dispatches what came.
// False once the connection is lost.
bool waitAndDispatch(wl_display* display, int waitMs) {
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    pollfd waits[2] = {{wl_display_get_fd(display), POLLIN, 0}, {stopSignalFd(), POLLIN, 0}};
    if (poll(waits, 2, waitMs) > 0 && waits[0].revents != 0) {
        if (wl_display_read_events(display) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

// The line for a lost connection: a protocol error names what the compositor refused.
void sayConnectionLost(wl_display* display) {
    const wl_interface* interface = nullptr;
    uint32_t id = 0;
    const uint32_t code = wl_display_get_protocol_error(display, &interface, &id);
    if (wl_display_get_error(display) == EPROTO && interface) {
        std::fprintf(stderr, "mereflow: the compositor ended the connection: error %u of %s@%u\n",
                     code, interface->name, id);
    } else {
        std::fprintf(stderr, "mereflow: the connection to the compositor was lost\n");
    }
}

// Outputs described since the last look get their covers; covers the compositor closed go.
void followOutputs(WaylandState& state) {
    for (auto& output : state.outputs) {
        if (output->cover && output->cover->closed) {
            destroyCover(*output->cover);
            output->cover.reset();
        } else if (output->done && !output->cover) {
            coverOutput(state, *output);
        }
    }
}

bool anyReady(const WaylandState& state) {
    for (const auto& output : state.outputs) {
        if (output->cover && readyToDraw(*output->cover)) {
            return true;
        }
    }
    return false;
}

struct FrameLoop {
    WaylandState& state;
    DesktopPictures& desktop;
    WaterLayout layout;
    bool sceneStarted = false;
    bool picturesWaiting = false; // new Desktop pictures, for the next current context
    double lastRoundMs = 0;
};

// One frame of the water on every output whose last frame was shown, moved on once for all of
// them. The compositor's events are read between outputs, as a frame may take tens of
// milliseconds: an input device that comes and goes quickly (a virtual keyboard) is still seen.
// False when EGL refuses a surface or the connection is lost, with the line said.
bool drawRound(FrameLoop& loop) {
    if (readClockMs() - loop.lastRoundMs > kPauseMs) {
        restartFrameClock();
    }
    WaylandState& state = loop.state;
    bool drawn = false;
    float dt = 0;
    // By index: reading events may withdraw an output.
    for (size_t i = 0; i < state.outputs.size() && !state.inputEnds; ++i) {
        Output& output = *state.outputs[i];
        if (!output.cover || !readyToDraw(*output.cover)) {
            continue;
        }
        if (!prepareFrame(output)) {
            std::fprintf(stderr, "mereflow: EGL refused an output's surface\n");
            return false;
        }
        if (!loop.sceneStarted) {
            startScene(clockSeed());
            loop.sceneStarted = true;
            loop.picturesWaiting = false;
        } else if (loop.picturesWaiting) {
            uploadSourcePicture();
            loop.picturesWaiting = false;
        }
        if (!drawn) {
            dt = beginFrameRound();
            drawn = true;
        }
        drawRoundFrame(output.cover.get(), dt);
        if (!waitAndDispatch(state.display, 0)) {
            std::fprintf(stderr, "mereflow: the connection to the compositor was lost\n");
            return false;
        }
    }
    if (drawn) {
        endFrameRound(dt);
    }
    loop.lastRoundMs = readClockMs();
    return true;
}

// Until a stop signal or input ends it: 0, or kStatusFailed when the compositor or EGL fails.
int runFrames(FrameLoop& loop, int maxFps) {
    WaylandState& state = loop.state;
    FramePacer pacer(maxFps);
    while (!stopRequested() && !state.inputEnds) {
        if (state.outputsChanged) {
            state.outputsChanged = false;
            // Their pictures before their covers: the copy would show the water.
            readJoiningOutputs(state, loop.desktop);
            followOutputs(state);
            const ScreenShape shape = readScreenShape(state);
            loop.picturesWaiting |=
                layOutWater(shape, virtualScreen(shape.monitors), loop.desktop.image, loop.layout);
        }
        int waitMs = kIdleWaitMs;
        if (anyReady(state)) {
            const double paceMs = pacer.waitMs(readClockMs());
            waitMs = static_cast<int>(std::ceil(paceMs));
            if (paceMs == 0) {
                pacer.frameStarted(readClockMs());
                if (!drawRound(loop)) {
                    return kStatusFailed;
                }
                waitMs = 0;
            }
        }
        if (!waitAndDispatch(state.display, waitMs)) {
            sayConnectionLost(state.display);
            return kStatusFailed;
        }
    }
    return 0;
}

// What the compositor must offer; false, with one line in error, when it does not.
bool checkGlobals(const WaylandState& state, std::string& error) {
    if (!state.compositor) {
        error = "the compositor offers no wl_compositor";
    } else if (!state.layerShell && state.background) {
        error = "the compositor offers no layer shell (zwlr_layer_shell_v1): --background cannot "
                "draw under the windows";
    } else if (!state.layerShell && !state.wmBase) {
        error = "the compositor offers neither layer shell nor xdg-shell: nothing to cover the "
                "outputs with";
    } else {
        return true;
    }
    return false;
}

int run(WaylandState& state, const HostOptions& host) {
    listenToRegistry(state);
    // The globals, then the outputs' descriptions and the seat's capabilities.
    if (wl_display_roundtrip(state.display) < 0 || wl_display_roundtrip(state.display) < 0) {
        sayConnectionLost(state.display);
        return kStatusFailed;
    }
    std::string error;
    if (!checkGlobals(state, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        return kStatusFailed;
    }
    if (!state.layerShell) {
        std::fprintf(stderr, "mereflow: the compositor offers no layer shell; covering each "
                             "output with a full-screen window instead\n");
    }
    // The preset comes before the picture, so that a preset's Desktop gets the screen.
    crt::srand(clockSeed());
    if (saverSettings.useRandomPreset) {
        pickRandomPreset();
    }
    DesktopPictures desktop;
    readSourcePicture(state, host, desktop);
    if (!startEgl(state.display, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        return kStatusFailed;
    }
    useEglForFrames();
    FrameLoop loop{state, desktop, {}, false, false, 0};
    state.outputsChanged = true;
    state.covering = true;
    return runFrames(loop, host.maxFps);
}

void disconnect(WaylandState& state) {
    for (auto& output : state.outputs) {
        releaseOutput(*output);
    }
    state.outputs.clear();
    stopEgl();
    releaseSeat(state);
    releaseGlobals(state);
    wl_display_roundtrip(state.display);
    wl_display_disconnect(state.display);
}

} // namespace

int runWaylandHost(HostOptions& host) {
    WaylandState state;
    state.display = wl_display_connect(nullptr);
    if (!state.display) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        std::fprintf(stderr, "mereflow: cannot connect to the Wayland compositor \"%s\"\n",
                     name ? name : "wayland-0");
        return kStatusFailed;
    }
    // Colour names are the X server's: without one, only the common ones are known; any other
    // keeps its value, with a line.
    resolveColorNames(host, lookUpCommonColor);
    for (const std::string& line : host.ignoredValues) {
        std::fprintf(stderr, "mereflow: %s\n", line.c_str());
    }
    state.background = host.background != 0;
    const int status = run(state, host);
    disconnect(state);
    return status;
}
