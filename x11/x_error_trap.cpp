// The X error handler and the traps it reports to.
#include "x11/x_error_trap.h"

#include <GL/glx.h>

#include <cstdio>

XErrorVerdict xErrorVerdict;

namespace {

// The innermost open trap; the handler's only way to find it, as Xlib passes no user data.
XErrorTrap* innermostTrap = nullptr;
int glxErrorBase = -1;
// GLX's own BadDrawable, as the protocol numbers it (glxproto.h, which wants the server's types).
constexpr int kGlxBadDrawable = 2;

bool meansWindowGone(const XErrorEvent& event) {
    return event.error_code == BadWindow || event.error_code == BadDrawable ||
           (glxErrorBase >= 0 && event.error_code == glxErrorBase + kGlxBadDrawable);
}

void report(Display* display, const XErrorEvent& event) {
    char text[128] = {};
    XGetErrorText(display, event.error_code, text, sizeof text);
    std::fprintf(stderr, "mereflow: X error: %s (request %d.%d)\n", text, event.request_code,
                 event.minor_code);
    xErrorVerdict.failed = true;
}

} // namespace

int onXError(Display* display, XErrorEvent* event) {
    XErrorTrap* trap = innermostTrap;
    // Serials grow with each request (and wrap); a request older than a trap is an outer one's.
    while (trap && static_cast<long>(event->serial - trap->firstSerial_) < 0) {
        trap = trap->outer_;
    }
    if (!trap) {
        report(display, *event);
        return 0;
    }
    ++trap->caught_;
    if (trap->kind_ == XErrorTrap::Kind::kMayFail) {
        return 0;
    }
    if (meansWindowGone(*event)) {
        xErrorVerdict.windowGone = true;
    } else {
        report(display, *event);
    }
    return 0;
}

void installXErrorTraps(Display* display) {
    int eventBase = 0;
    if (!glXQueryExtension(display, &glxErrorBase, &eventBase)) {
        glxErrorBase = -1;
    }
    XSetErrorHandler(onXError);
}

XErrorTrap::XErrorTrap(Display* display, Kind kind)
    : display_(display), kind_(kind), firstSerial_(NextRequest(display)), outer_(innermostTrap) {
    innermostTrap = this;
}

XErrorTrap::~XErrorTrap() {
    end();
}

bool XErrorTrap::end() {
    if (open_) {
        XSync(display_, False);
        open_ = false;
        // Traps close in the reverse order of opening, as scopes do.
        innermostTrap = outer_;
    }
    return caught_ == 0;
}
