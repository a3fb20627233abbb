// The window the program draws in: handed over, the root, or its own.
#pragma once

#include "common/monitor_layout.h"
#include "native/daemons/window_choice.h"
#include "x11/screen_changes.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

// What the window's events asked for.
struct WindowEvents {
    // Its own window: a key, a click, the close, in full screen a move of the pointer; any
    // window: destroyed.
    bool end = false;
    // Its size or its place on the screen may have changed.
    bool placed = false;
    // The screen's size, CRTCs or outputs changed.
    bool screenChanged = false;
    // Its own window was mapped: drawing starts again.
    bool shown = false;
};

class SaverWindow {
public:
    // Opens the chosen window and makes a double-buffered context for it, current on this
    // thread. False, with one line in error, when it cannot (xErrorVerdict says whether the
    // window was gone).
    bool open(Display* display, const WindowChoice& choice, std::string& error);
    // Releases the context; destroys the windows the program made.
    void close();

    // Handles every queued event, the screen's changes among them.
    WindowEvents handleEvents();
    // Draws and presents one frame.
    void drawFrame();
    // Presents the back buffer; the frame calls it, within drawFrame.
    void swapBuffers();

    // False while its own window is unmapped: nothing is drawn then.
    bool showing() const { return showing_; }
    // The area drawn in, in root-window pixels: asked of the server, as the window's own x and y
    // are relative to its parent.
    ScreenRect screenRect() const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    bool createOwn(bool fullscreen, std::string& error);
    bool adopt(Window window, std::string& error);
    // A window on a GL visual of the program's choice, with a colormap of its own. False, with
    // one line in error, when the display offers no such visual.
    bool createGlWindow(Window parent, int width, int height, long events, std::string& error);
    // Creates the context on the visual (which it frees), makes it current on the drawable and
    // asks for the swap interval.
    bool startContext(XVisualInfo* visual, std::string& error);
    // True, with the line for it in error, once an error said the window is gone.
    bool windowGone(std::string& error) const;
    std::string noWindowText() const;
    void hidePointer();
    // Its own full-screen window fitted to the screen's size as it is now.
    void coverScreen();
    void noteMapped();

    Display* display_ = nullptr;
    Window window_ = 0;   // the window chosen: handed over, the root or its own
    Window drawable_ = 0; // where the water is drawn: window_, or a child of it
    bool own_ = false;
    bool fullscreen_ = false;
    bool showing_ = true;
    bool gone_ = false;
    int width_ = 0;
    int height_ = 0;
    ScreenChangeEvents screenChanges_;
    Atom deleteWindow_ = 0;
    Colormap colormap_ = 0;
    Cursor blankCursor_ = 0;
    GLXContext context_ = nullptr;
    int pointerX_ = 0; // in full screen, where the pointer was when the window was mapped
    int pointerY_ = 0;
};
