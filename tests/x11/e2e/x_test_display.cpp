// The private Xvfb and the screen reader of the end-to-end tests.
#include "x_test_display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

// A window may go between two requests; the tests look at results, not at X errors.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

bool PrivateXvfb::start(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = spawnProcess({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", size,
                         "+extension", "GLX", "-nolisten", "tcp"},
                        {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(fds[0]);
    if (pid_ == 0 || number.empty()) {
        return false;
    }
    const std::string name = ":" + number;
    if (const char* previous = std::getenv("DISPLAY")) {
        previousDisplay_ = previous;
    }
    setenv("DISPLAY", name.c_str(), 1);
    unsetenv("XSCREENSAVER_WINDOW");
    // The X11 host is what these tests drive, whatever compositor the machine runs.
    unsetenv("WAYLAND_DISPLAY");
    display_ = XOpenDisplay(name.c_str());
    XSetErrorHandler(ignoreXError);
    return display_ != nullptr;
}

void PrivateXvfb::stop() {
    if (display_) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
        if (previousDisplay_) {
            setenv("DISPLAY", previousDisplay_->c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
        previousDisplay_.reset();
    }
}

std::vector<Rgb> readRow(Display* display, Window window, int y) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    std::vector<Rgb> row;
    XImage* image = XGetImage(display, window, 0, y, static_cast<unsigned>(attributes.width), 1,
                              AllPlanes, ZPixmap);
    if (!image) {
        return row;
    }
    for (int x = 0; x < attributes.width; ++x) {
        const unsigned long p = XGetPixel(image, x, 0);
        row.push_back({static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                       static_cast<int>(p & 0xFF)});
    }
    XDestroyImage(image);
    return row;
}

bool waitForLitPixel(Display* display, Window window, int x, int y, double timeoutSeconds) {
    return waitUntil(
        [&] {
            const std::vector<Rgb> row = readRow(display, window, y);
            return static_cast<int>(row.size()) > x && row[x].sum() > 300;
        },
        timeoutSeconds);
}

int countTopLevelWindows(Display* display) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    if (children) {
        XFree(children);
    }
    return static_cast<int>(count);
}

Pixmap makeTwoColourPixmap(Display* display, Drawable drawable, int width, int height,
                           unsigned long left, unsigned long right, int split) {
    const Pixmap pixmap = XCreatePixmap(
        display, drawable, static_cast<unsigned>(width), static_cast<unsigned>(height),
        static_cast<unsigned>(DefaultDepth(display, DefaultScreen(display))));
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XSetForeground(display, gc, left);
    XFillRectangle(display, pixmap, gc, 0, 0, static_cast<unsigned>(split),
                   static_cast<unsigned>(height));
    XSetForeground(display, gc, right);
    XFillRectangle(display, pixmap, gc, split, 0, static_cast<unsigned>(width - split),
                   static_cast<unsigned>(height));
    XFreeGC(display, gc);
    return pixmap;
}

void setPixmapProperty(Display* display, Window window, const char* name, Pixmap pixmap) {
    // Format 32: the one value goes as a long.
    const long value = static_cast<long>(pixmap);
    XChangeProperty(display, window, XInternAtom(display, name, False), XA_PIXMAP, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
    XSync(display, False);
}

Pixmap setScreenshot(Display* display, Window window, int width, int height, unsigned long colour,
                     int colourFrom) {
    const Pixmap pixmap =
        makeTwoColourPixmap(display, window, width, height, 0, colour, colourFrom);
    setPixmapProperty(display, window, "_SCREENSAVER_SCREENSHOT", pixmap);
    return pixmap;
}

RootPixmapProperty::RootPixmapProperty(Display* display, const char* name, Pixmap pixmap)
    : display_(display), name_(name), pixmap_(pixmap) {
    setPixmapProperty(display, DefaultRootWindow(display), name, pixmap);
}

RootPixmapProperty::~RootPixmapProperty() {
    XDeleteProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, name_, False));
    freePixmap();
}

void RootPixmapProperty::freePixmap() {
    if (pixmap_ != 0) {
        XFreePixmap(display_, pixmap_);
        pixmap_ = 0;
    }
    XSync(display_, False);
}
