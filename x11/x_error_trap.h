// X errors caught around the requests that may fail, rather than by one handler for everything.
#pragma once

#include <X11/Xlib.h>

// What the errors caught so far mean for the run: the frame loop ends after the current frame
// once either is set. Main thread only (the program makes every X request there).
struct XErrorVerdict {
    bool windowGone = false; // BadWindow, BadDrawable or GLXBadDrawable about the drawn window
    bool failed = false;     // any other error; reported on stderr as it came
};
extern XErrorVerdict xErrorVerdict;

// Installs the one error handler, which hands each error to the trap whose requests caused it.
// An error outside every trap is reported and fails the run.
void installXErrorTraps(Display* display);

// Catches the errors of the requests made during its life and ends with XSync, so that every one
// of them has been answered. Traps may nest: an error goes to the innermost trap that was open
// when its request was made.
class XErrorTrap {
public:
    enum class Kind {
        kDrawnWindow, // requests naming the window drawn in (or its child): errors go to the
                      // verdict
        kMayFail,     // requests whose failure the caller handles: errors are only counted
    };

    explicit XErrorTrap(Display* display, Kind kind = Kind::kDrawnWindow);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the answers to every request so far and stops catching; true when none of this
    // trap's requests failed. The destructor does the same when it has not been called.
    bool end();

private:
    friend int onXError(Display* display, XErrorEvent* event);

    Display* display_;
    Kind kind_;
    unsigned long firstSerial_;
    XErrorTrap* outer_;
    int caught_ = 0;
    bool open_ = true;
};
