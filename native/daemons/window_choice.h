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
