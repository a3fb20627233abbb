// mereflow: the water natively on Linux, standalone or as a screen-saver daemon's program.
#include "native/daemons/window_choice.h"
#include "native/options/saver_options.h"
#include "native/program/exit_status.h"
#include "native/program/hosts.h"
#include "native/running/stop_signals.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

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
    const char* environmentWindow = std::getenv("XSCREENSAVER_WINDOW");
    HostKind kind = HostKind::kX11;
    WindowChoice choice{};
    if (!chooseHost(host, environmentWindow, std::getenv("WAYLAND_DISPLAY"), kind, error) ||
        !chooseWindow(host, environmentWindow, choice, error)) {
        std::fprintf(stderr, "mereflow: %s\n", error.c_str());
        return kStatusBadOption;
    }
    if (!catchStopSignals()) {
        std::fprintf(stderr, "mereflow: cannot catch the stop signals\n");
        return kStatusFailed;
    }
    // The pictures' allocations are checked where they are made; any other that fails (the
    // grid's, a frame's) ends the program with one line and a status rather than an abort.
    try {
        return kind == HostKind::kWayland ? runWaylandHost(host) : runX11Host(host, choice);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "mereflow: out of memory\n");
        return kStatusFailed;
    }
}
