// Which window the program draws in: first match wins.
#pragma once

#include "native/options/saver_options.h"

#include <cstdint>
#include <string>

enum class WindowKind {
    kHandedOver, // a window someone else made: --window-id or XSCREENSAVER_WINDOW
    kRoot,       // the root window (--root)
    kOwn,        // a 640 x 480 window of its own
    kFullscreen, // a window of its own covering the screen
};

struct WindowChoice {
    WindowKind kind;
    uint32_t id; // kHandedOver only
};

// --window-id, else XSCREENSAVER_WINDOW (environment; null when unset) whether or not --root is
// given, else --root, else a window of its own. A malformed variable is an error, as a bad
// option is.
bool chooseWindow(const HostOptions& host, const char* environmentWindow, WindowChoice& choice,
                  std::string& error);

// The display system the program draws on.
enum class HostKind { kX11, kWayland };

// A window handed over (--window-id, --root, XSCREENSAVER_WINDOW) is X11's; else --x11 or
// --wayland; else Wayland when a compositor is named (WAYLAND_DISPLAY; null when unset), X11
// when not. False, with one line in error, for a choice that cannot draw: both hosts asked for,
// --wayland with an X window, or --background on X11.
bool chooseHost(const HostOptions& host, const char* environmentWindow, const char* waylandDisplay,
                HostKind& kind, std::string& error);
