// The private Xvfb, the program's process and the screen reader of the end-to-end tests.
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
#include <ctime>
#include <fstream>
#include <sstream>

extern char** environ;

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

namespace {

// A window may go between two requests; the tests look at results, not at X errors.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnv,
            posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    // An extra variable replaces one of the same name (getenv would find the first).
    std::vector<std::string> variables = extraEnv;
    for (char** e = environ; *e; ++e) {
        const std::string variable = *e;
        const std::string name = variable.substr(0, variable.find('=') + 1);
        bool replaced = false;
        for (const std::string& extra : extraEnv) {
            replaced = replaced || extra.compare(0, name.size(), name) == 0;
        }
        if (!replaced) {
            variables.push_back(variable);
        }
    }
    std::vector<char*> envp;
    for (std::string& v : variables) {
        envp.push_back(const_cast<char*>(v.c_str()));
    }
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) {
        return 0;
    }
    return pid;
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
    pid_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", size, "+extension",
                  "GLX", "-nolisten", "tcp"},
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

ProgramRun::ProgramRun(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& environment) {
    std::vector<std::string> argv = {MEREFLOW_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    start(argv, environment);
}

ProgramRun::ProgramRun(const ShellLine& line, const std::vector<std::string>& environment) {
    start({"/bin/sh", "-c", line.text}, environment);
}

void ProgramRun::start(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment) {
    char path[] = "/tmp/mereflow-e2e-XXXXXX";
    const int fd = mkstemp(path);
    errorPath_ = path;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fd, 2);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_ = spawn(argv, environment, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fd);
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(errorPath_.c_str());
}

bool ProgramRun::waitExit(double timeoutSeconds, int& status) {
    const double end = monotonicSeconds() + timeoutSeconds;
    while (pid_ > 0) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) {
            pid_ = 0;
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return true;
        }
        if (monotonicSeconds() > end) {
            return false;
        }
        usleep(5000);
    }
    return false;
}

std::string ProgramRun::errorOutput() const {
    std::ifstream in(errorPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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

bool waitUntil(const std::function<bool()>& condition, double timeoutSeconds) {
    const double end = monotonicSeconds() + timeoutSeconds;
    while (monotonicSeconds() < end) {
        if (condition()) {
            return true;
        }
        usleep(10000);
    }
    return false;
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
    const Pixmap pixmap =
        XCreatePixmap(display, drawable, static_cast<unsigned>(width),
                      static_cast<unsigned>(height),
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
    const Pixmap pixmap = makeTwoColourPixmap(display, window, width, height, 0, colour, colourFrom);
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
