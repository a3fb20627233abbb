// What the X11 end-to-end tests need beside the program's process: a private Xvfb and the
// screen's pixels.
#pragma once

#include "program_run.h"

#include <X11/Xlib.h>

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// Starts Xvfb with GLX on a free display, 1024 x 768 unless told otherwise, and points DISPLAY
// at it; stops it again, at the latest on destruction, and gives DISPLAY back its earlier value.
class PrivateXvfb {
public:
    PrivateXvfb() = default;
    ~PrivateXvfb() { stop(); }
    PrivateXvfb(const PrivateXvfb&) = delete;
    PrivateXvfb& operator=(const PrivateXvfb&) = delete;

    bool start(int width = 1024, int height = 768);
    void stop();
    Display* display() const { return display_; }

private:
    pid_t pid_ = 0;
    Display* display_ = nullptr;
    std::optional<std::string> previousDisplay_; // none when DISPLAY was unset
};

struct Rgb {
    int red;
    int green;
    int blue;
    int sum() const { return red + green + blue; }
};

// Pixels of a row of the window (the root window for the screen), left to right.
std::vector<Rgb> readRow(Display* display, Window window, int y);

// Polls until the pixel at (x, y) of the window shows more than a dim colour; false on timeout.
bool waitForLitPixel(Display* display, Window window, int x, int y, double timeoutSeconds);

// Top-level windows of the screen.
int countTopLevelWindows(Display* display);

// A width x height pixmap at the screen's depth, of the left colour up to x = split and of the
// right one from there on. The caller frees it.
Pixmap makeTwoColourPixmap(Display* display, Drawable drawable, int width, int height,
                           unsigned long left, unsigned long right, int split);

// Sets a property of type PIXMAP and format 32 on the window.
void setPixmapProperty(Display* display, Window window, const char* name, Pixmap pixmap);

// Plays a daemon's screenshot: a width x height pixmap at the screen's depth, black left of x =
// colourFrom and colour from there on, set as the window's _SCREENSAVER_SCREENSHOT. The caller
// frees the pixmap it returns.
Pixmap setScreenshot(Display* display, Window window, int width, int height, unsigned long colour,
                     int colourFrom);

// Plays a desktop that publishes its wallpaper: the root's property names the pixmap, which it
// owns. Deletes the property and frees the pixmap however the case ends, as the cases share one
// display.
class RootPixmapProperty {
public:
    RootPixmapProperty(Display* display, const char* name, Pixmap pixmap);
    ~RootPixmapProperty();
    RootPixmapProperty(const RootPixmapProperty&) = delete;
    RootPixmapProperty& operator=(const RootPixmapProperty&) = delete;
    // As the program that set it may do at any time, leaving the property behind.
    void freePixmap();

private:
    Display* display_;
    const char* name_;
    Pixmap pixmap_;
};
