// The window the program draws in: handed over, the root, or its own.
#pragma once

#include "x11/window_choice.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

// What the window's events asked for.
struct WindowEvents {
    bool end = false;     // its own window: a key, a click or the close; any: destroyed
    bool resized = false; // width and height changed
};

class SaverWindow {
public:
    // Opens the chosen window and makes a double-buffered context for it, current on this
    // thread. False, with one line in error, when it cannot.
    bool open(Display* display, const WindowChoice& choice, std::string& error);
    // Releases the context; destroys the window only when it is its own.
    void close();

    // Handles every queued event.
    WindowEvents handleEvents();
    // Presents the back buffer.
    void swapBuffers();

    Window window() const { return window_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool swapIntervalSet() const { return swapIntervalSet_; }

private:
    bool createOwn(bool fullscreen, std::string& error);
    bool adopt(Window window, std::string& error);
    // Creates the context on the visual (which it frees), makes it current on the window and
    // asks for the swap interval.
    bool startContext(XVisualInfo* visual, std::string& error);
    void requestSwapInterval();

    Display* display_ = nullptr;
    Window window_ = 0;
    bool own_ = false;
    bool gone_ = false;
    int width_ = 0;
    int height_ = 0;
    Atom deleteWindow_ = 0;
    Colormap colormap_ = 0;
    GLXContext context_ = nullptr;
    bool swapIntervalSet_ = false;
};

// Errors about the window that is drawn in only mean that it is gone; any other is reported on
// stderr, and the program goes on.
void installXErrorHandler();

// The window that errors may name from now on.
void noteWindowError(Window window);
