// The saver window on Xlib and GLX. Every request naming the window drawn in runs in a trap: a
// window handed over may vanish between any two of them.
#include "x11/saver_window.h"

#include "scene/frame.h"
#include "x11/x_error_trap.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kOwnWidth = 640;
constexpr int kOwnHeight = 480;
constexpr long kOwnEvents = StructureNotifyMask | KeyPressMask | ButtonPressMask;
// How far the pointer may drift in full screen before the program ends, in |dx| + |dy| pixels.
constexpr int kPointerSlack = 4;

bool hasExtension(const char* extensions, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = extensions; at && (at = std::strstr(at, name)) != nullptr; at += length) {
        if ((at == extensions || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}

// Whether the water can be drawn on the visual as it is: OpenGL with a double buffer and depth.
bool drawsDirectly(Display* display, XVisualInfo* visual) {
    int useGl = 0;
    int doubleBuffer = 0;
    int depth = 0;
    return visual && glXGetConfig(display, visual, GLX_USE_GL, &useGl) == 0 && useGl &&
           glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer) == 0 && doubleBuffer &&
           glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depth) == 0 && depth > 0;
}

XVisualInfo* visualInfo(Display* display, Visual* visual) {
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(visual);
    int count = 0;
    return XGetVisualInfo(display, VisualIDMask, &wanted, &count);
}

void requestSwapInterval(Display* display, GLXDrawable drawable) {
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (hasExtension(extensions, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        const auto set = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (set) {
            set(display, drawable, 1);
        }
    } else if (hasExtension(extensions, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned);
        const auto set = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (set) {
            set(1);
        }
    }
}

} // namespace

bool SaverWindow::open(Display* display, const WindowChoice& choice, std::string& error) {
    display_ = display;
    screenChanges_ = watchScreenChanges(display);
    switch (choice.kind) {
    case WindowKind::kHandedOver:
        return adopt(choice.id, error);
    case WindowKind::kRoot:
        return adopt(DefaultRootWindow(display), error);
    case WindowKind::kOwn:
    case WindowKind::kFullscreen:
        return createOwn(choice.kind == WindowKind::kFullscreen, error);
    }
    return false;
}

bool SaverWindow::createGlWindow(Window parent, int width, int height, long events,
                                 std::string& error) {
    const int screen = DefaultScreen(display_);
    int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE,   1, GLX_GREEN_SIZE, 1,
                        GLX_BLUE_SIZE, 1,                GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display_, screen, attributes);
    if (!visual) {
        error = "no double-buffered OpenGL visual on this display";
        return false;
    }
    width_ = width;
    height_ = height;
    XErrorTrap trap(display_);
    colormap_ = XCreateColormap(display_, RootWindow(display_, screen), visual->visual, AllocNone);
    XSetWindowAttributes set = {};
    set.colormap = colormap_;
    set.background_pixel = BlackPixel(display_, screen);
    set.border_pixel = 0;
    set.event_mask = events;
    drawable_ =
        XCreateWindow(display_, parent, 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, visual->depth, InputOutput, visual->visual,
                      CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
    return startContext(visual, error);
}

bool SaverWindow::createOwn(bool fullscreen, std::string& error) {
    const int screen = DefaultScreen(display_);
    own_ = true;
    fullscreen_ = fullscreen;
    showing_ = false; // until the server maps it
    const Window root = RootWindow(display_, screen);
    XErrorTrap trap(display_);
    if (!createGlWindow(root, fullscreen ? DisplayWidth(display_, screen) : kOwnWidth,
                        fullscreen ? DisplayHeight(display_, screen) : kOwnHeight,
                        kOwnEvents | (fullscreen ? PointerMotionMask : 0), error)) {
        return false;
    }
    window_ = drawable_;
    XStoreName(display_, window_, "3D Mereflow");
    XClassHint classHint = {const_cast<char*>("mereflow"), const_cast<char*>("Mereflow")};
    XSetClassHint(display_, window_, &classHint);
    deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_, &deleteWindow_, 1);
    if (fullscreen) {
        // A window manager is asked to keep it over everything; without one it already covers
        // the screen from 0, 0.
        const Atom state = XInternAtom(display_, "_NET_WM_STATE", False);
        const Atom full = XInternAtom(display_, "_NET_WM_STATE_FULLSCREEN", False);
        XChangeProperty(display_, window_, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&full), 1);
        hidePointer();
    }
    XMapRaised(display_, window_);
    trap.end();
    return !windowGone(error);
}

void SaverWindow::hidePointer() {
    const char nothing = 0;
    const Pixmap empty = XCreateBitmapFromData(display_, window_, &nothing, 1, 1);
    XColor black = {};
    blankCursor_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
    XDefineCursor(display_, window_, blankCursor_);
    XFreePixmap(display_, empty);
}

bool SaverWindow::adopt(Window window, std::string& error) {
    window_ = window;
    drawable_ = window;
    XWindowAttributes attributes = {};
    XErrorTrap readTrap(display_);
    const bool read = XGetWindowAttributes(display_, window, &attributes);
    if (read) {
        // Structure events only: a window handed over is closed by whoever made it, never by
        // input.
        XSelectInput(display_, window, attributes.your_event_mask | StructureNotifyMask);
    }
    readTrap.end();
    if (!read || windowGone(error)) {
        error = noWindowText();
        return false;
    }
    width_ = attributes.width;
    height_ = attributes.height;
    XVisualInfo* visual = visualInfo(display_, attributes.visual);
    if (drawsDirectly(display_, visual)) {
        return startContext(visual, error);
    }
    // The daemon chose the visual without asking for a double buffer or depth: the water goes
    // into a child of the program's own visual, following the window's size.
    if (visual) {
        XFree(visual);
    }
    if (!createGlWindow(window, width_, height_, 0, error)) {
        return false;
    }
    XErrorTrap trap(display_);
    XMapWindow(display_, drawable_);
    trap.end();
    return !windowGone(error);
}

bool SaverWindow::startContext(XVisualInfo* visual, std::string& error) {
    context_ = glXCreateContext(display_, visual, nullptr, True);
    XFree(visual);
    if (!context_) {
        error = "no OpenGL context for the window";
        return false;
    }
    XErrorTrap trap(display_);
    const bool current = glXMakeCurrent(display_, drawable_, context_);
    if (current) {
        requestSwapInterval(display_, drawable_);
    }
    trap.end();
    if (windowGone(error)) {
        return false;
    }
    if (!current) {
        error = "cannot make the OpenGL context current on the window";
        return false;
    }
    return true;
}

std::string SaverWindow::noWindowText() const {
    char text[64];
    std::snprintf(text, sizeof text, "there is no window 0x%lx", window_);
    return text;
}

bool SaverWindow::windowGone(std::string& error) const {
    if (xErrorVerdict.windowGone) {
        error = noWindowText();
    }
    return xErrorVerdict.windowGone;
}

void SaverWindow::noteMapped() {
    showing_ = true;
    if (fullscreen_) {
        Window root = 0;
        Window child = 0;
        int x = 0;
        int y = 0;
        unsigned buttons = 0;
        XErrorTrap trap(display_);
        XQueryPointer(display_, window_, &root, &child, &pointerX_, &pointerY_, &x, &y, &buttons);
    }
}

WindowEvents SaverWindow::handleEvents() {
    WindowEvents events;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        events.screenChanged = noteScreenChange(screenChanges_, event) || events.screenChanged;
        if (event.xany.window != window_) {
            continue;
        }
        switch (event.type) {
        case ConfigureNotify:
            // A move as much as a resize: the window shows another part of the screen.
            events.placed = true;
            if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
                width_ = event.xconfigure.width;
                height_ = event.xconfigure.height;
                if (drawable_ != window_) {
                    XErrorTrap trap(display_);
                    XResizeWindow(display_, drawable_, static_cast<unsigned>(width_),
                                  static_cast<unsigned>(height_));
                }
            }
            break;
        case MapNotify:
            events.shown = own_ && !showing_;
            noteMapped();
            break;
        case UnmapNotify:
            showing_ = !own_;
            break;
        case DestroyNotify:
            gone_ = true;
            break;
        case MotionNotify:
            events.end = events.end || (fullscreen_ && showing_ &&
                                        std::abs(event.xmotion.x_root - pointerX_) +
                                                std::abs(event.xmotion.y_root - pointerY_) >
                                            kPointerSlack);
            break;
        case KeyPress:
        case ButtonPress:
            events.end = events.end || own_;
            break;
        case ClientMessage:
            events.end =
                events.end || (own_ && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_);
            break;
        default:
            break;
        }
    }
    gone_ = gone_ || xErrorVerdict.windowGone;
    events.end = events.end || gone_;
    if (events.screenChanged && fullscreen_ && !gone_) {
        coverScreen();
    }
    return events;
}

void SaverWindow::coverScreen() {
    // Without a window manager nobody else fits the window to a screen of another size; its
    // ConfigureNotify then lays the water out again.
    const int screen = DefaultScreen(display_);
    const int width = DisplayWidth(display_, screen);
    const int height = DisplayHeight(display_, screen);
    if (width != width_ || height != height_) {
        XErrorTrap trap(display_);
        XMoveResizeWindow(display_, window_, 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
    }
}

void SaverWindow::drawFrame() {
    if (!gone_) {
        // The GL driver's own requests name the drawable too (its size, its pixels), so the
        // trap spans the whole frame, the swap included.
        XErrorTrap trap(display_);
        renderFrame(this);
    }
}

void SaverWindow::swapBuffers() {
    glXSwapBuffers(display_, drawable_);
}

ScreenRect SaverWindow::screenRect() const {
    int left = 0;
    int top = 0;
    Window child = 0;
    XErrorTrap trap(display_);
    XTranslateCoordinates(display_, drawable_, DefaultRootWindow(display_), 0, 0, &left, &top,
                          &child);
    return {left, top, left + width_, top + height_};
}

void SaverWindow::close() {
    // Once the window is gone, the driver's requests about it fail too (a GC it never made): the
    // errors of closing then mean nothing.
    const bool gone = gone_ || xErrorVerdict.windowGone;
    XErrorTrap trap(display_, gone ? XErrorTrap::Kind::kMayFail : XErrorTrap::Kind::kDrawnWindow);
    if (context_) {
        glXMakeCurrent(display_, None, nullptr);
        glXDestroyContext(display_, context_);
        context_ = nullptr;
    }
    // Only what was made: an open that failed early made no window.
    if (drawable_ != 0 && drawable_ != window_ && !gone) {
        XDestroyWindow(display_, drawable_);
    }
    if (own_ && window_ != 0 && !gone) {
        XDestroyWindow(display_, window_);
    }
    if (colormap_) {
        XFreeColormap(display_, colormap_);
    }
    if (blankCursor_) {
        XFreeCursor(display_, blankCursor_);
    }
}
