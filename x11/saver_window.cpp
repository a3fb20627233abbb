// The saver window on Xlib and GLX.
#include "x11/saver_window.h"

#include "scene/frame.h"
#include "textures/current_gl_context.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kOwnWidth = 640;
constexpr int kOwnHeight = 480;
constexpr long kOwnEvents = StructureNotifyMask | KeyPressMask | ButtonPressMask;

Window watchedWindow = 0;
bool watchedWindowGone = false;

// A window handed over may vanish at any moment, between two requests of ours; errors about it
// are expected and only end the program. Anything else is reported and drawing goes on.
int onXError(Display* display, XErrorEvent* event) {
    if ((watchedWindow != 0 && event->resourceid == watchedWindow) ||
        event->error_code == BadWindow || event->error_code == BadDrawable) {
        watchedWindowGone = true;
        return 0;
    }
    char text[128] = {};
    XGetErrorText(display, event->error_code, text, sizeof text);
    std::fprintf(stderr, "mereflow: X error: %s (request %d.%d)\n", text, event->request_code,
                 event->minor_code);
    return 0;
}

bool hasExtension(const char* extensions, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = extensions; at && (at = std::strstr(at, name)) != nullptr;
         at += length) {
        if ((at == extensions || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}

} // namespace

void installXErrorHandler() {
    XSetErrorHandler(onXError);
}

void noteWindowError(Window window) {
    watchedWindow = window;
    watchedWindowGone = false;
}

bool SaverWindow::open(Display* display, const WindowChoice& choice, std::string& error) {
    display_ = display;
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

bool SaverWindow::createOwn(bool fullscreen, std::string& error) {
    const int screen = DefaultScreen(display_);
    int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE,   1, GLX_GREEN_SIZE, 1,
                        GLX_BLUE_SIZE, 1,                GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display_, screen, attributes);
    if (!visual) {
        error = "no double-buffered OpenGL visual on this display";
        return false;
    }
    const Window root = RootWindow(display_, screen);
    width_ = fullscreen ? DisplayWidth(display_, screen) : kOwnWidth;
    height_ = fullscreen ? DisplayHeight(display_, screen) : kOwnHeight;
    colormap_ = XCreateColormap(display_, root, visual->visual, AllocNone);
    XSetWindowAttributes set = {};
    set.colormap = colormap_;
    set.background_pixel = BlackPixel(display_, screen);
    set.border_pixel = 0;
    set.event_mask = kOwnEvents;
    window_ = XCreateWindow(display_, root, 0, 0, static_cast<unsigned>(width_),
                            static_cast<unsigned>(height_), 0, visual->depth, InputOutput,
                            visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                            &set);
    own_ = true;
    noteWindowError(window_);
    XStoreName(display_, window_, "3D Mereflow");
    deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_, &deleteWindow_, 1);
    if (fullscreen) {
        // A window manager is asked to keep it over everything; without one it already covers
        // the screen from 0, 0.
        const Atom state = XInternAtom(display_, "_NET_WM_STATE", False);
        const Atom full = XInternAtom(display_, "_NET_WM_STATE_FULLSCREEN", False);
        XChangeProperty(display_, window_, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&full), 1);
    }
    XMapRaised(display_, window_);
    return startContext(visual, error);
}

bool SaverWindow::adopt(Window window, std::string& error) {
    window_ = window;
    noteWindowError(window);
    XWindowAttributes attributes = {};
    if (!XGetWindowAttributes(display_, window, &attributes) || watchedWindowGone) {
        char text[64];
        std::snprintf(text, sizeof text, "there is no window 0x%lx", window);
        error = text;
        return false;
    }
    width_ = attributes.width;
    height_ = attributes.height;
    // Structure events only: a window handed over is closed by whoever made it, never by input.
    XSelectInput(display_, window, attributes.your_event_mask | StructureNotifyMask);

    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display_, VisualIDMask, &wanted, &count);
    int useGl = 0;
    int doubleBuffer = 0;
    if (visual) {
        glXGetConfig(display_, visual, GLX_USE_GL, &useGl);
        glXGetConfig(display_, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    }
    if (!useGl || !doubleBuffer) {
        if (visual) {
            XFree(visual);
        }
        error = "the window's visual has no double-buffered OpenGL";
        return false;
    }
    return startContext(visual, error);
}

bool SaverWindow::startContext(XVisualInfo* visual, std::string& error) {
    context_ = glXCreateContext(display_, visual, nullptr, True);
    XFree(visual);
    if (!context_) {
        error = "no OpenGL context for the window";
        return false;
    }
    glXMakeCurrent(display_, window_, context_);
    requestSwapInterval();
    return true;
}

void SaverWindow::requestSwapInterval() {
    const char* extensions = glXQueryExtensionsString(display_, DefaultScreen(display_));
    if (hasExtension(extensions, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        const auto set = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (set) {
            set(display_, window_, 1);
            swapIntervalSet_ = true;
        }
    } else if (hasExtension(extensions, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned);
        const auto set = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        swapIntervalSet_ = set && set(1) == 0;
    }
}

WindowEvents SaverWindow::handleEvents() {
    WindowEvents events;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.xany.window != window_) {
            continue;
        }
        switch (event.type) {
        case ConfigureNotify:
            if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
                width_ = event.xconfigure.width;
                height_ = event.xconfigure.height;
                events.resized = true;
            }
            break;
        case DestroyNotify:
            gone_ = true;
            break;
        case KeyPress:
        case ButtonPress:
            events.end = events.end || own_;
            break;
        case ClientMessage:
            events.end = events.end || (own_ && static_cast<Atom>(event.xclient.data.l[0]) ==
                                                    deleteWindow_);
            break;
        default:
            break;
        }
    }
    gone_ = gone_ || watchedWindowGone;
    events.end = events.end || gone_;
    return events;
}

void SaverWindow::swapBuffers() {
    if (!gone_) {
        glXSwapBuffers(display_, window_);
    }
}

void SaverWindow::close() {
    if (context_) {
        glXMakeCurrent(display_, None, nullptr);
        glXDestroyContext(display_, context_);
        context_ = nullptr;
    }
    if (own_ && !gone_) {
        XDestroyWindow(display_, window_);
    }
    if (colormap_) {
        XFreeColormap(display_, colormap_);
    }
    XSync(display_, False);
}

// The core's two seams, on GLX: presenting a frame and asking for the current context.
void presentFrame(void* target) {
    static_cast<SaverWindow*>(target)->swapBuffers();
}

bool hasCurrentGlContext() {
    return glXGetCurrentContext() != nullptr;
}
