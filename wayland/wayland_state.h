// What the Wayland host holds of the compositor: its globals, the outputs and the surfaces that
// cover them, and what input asked for. One record, owned by the run loop's thread (the only
// thread): every listener gets it, or an output of it, as its data.
#pragma once

#include "common/monitor_layout.h"

#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include "fractional-scale-v1-client.h"
#include "viewporter-client.h"
#include "wlr-layer-shell-unstable-v1-client.h"
#include "wlr-screencopy-unstable-v1-client.h"
#include "xdg-output-unstable-v1-client.h"
#include "xdg-shell-client.h"

#include <cstdint>
#include <memory>
#include <vector>

struct WaylandState;

// The surface the water is drawn on over one output: a layer surface, or a full-screen toplevel
// where the compositor offers no layer shell.
struct CoverSurface {
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wp_viewport* viewport = nullptr;
    wp_fractional_scale_v1* fractionalScale = nullptr;
    wl_egl_window* eglWindow = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    // Asked for with each frame; while it is pending the output is not drawn again, so an output
    // the compositor stops showing costs nothing.
    wl_callback* frameCallback = nullptr;
    int width = 0; // as last configured, in logical pixels
    int height = 0;
    uint32_t configureSerial = 0;
    bool mustAck = false;           // a configure waits to be acked by the next commit
    uint32_t preferredScale120 = 0; // the fractional scale, in 120ths; 0 until the compositor says
    int bufferWidth = 0;            // the EGL window's size, in buffer pixels
    int bufferHeight = 0;
    bool closed = false; // the compositor took it away
};

struct Output {
    WaylandState* state = nullptr;
    uint32_t name = 0; // the registry's
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    int x = 0; // wl_output.geometry's position, used when there is no xdg-output
    int y = 0;
    int modeWidth = 0; // the current mode, in pixels
    int modeHeight = 0;
    int scale = 1;
    ScreenRect logical = {}; // from xdg-output; all zero until it speaks
    bool done = false;       // the first wl_output.done came: its description is whole
    int monitor = 0;         // its index in the layout's monitor list: the picture it shows
    bool pictured = false;   // Desktop: what it showed is in the desktop image
    std::unique_ptr<CoverSurface> cover;
};

struct WaylandState {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    uint32_t seatVersion = 0;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zwlr_screencopy_manager_v1* screenCopy = nullptr;
    zxdg_output_manager_v1* xdgOutputs = nullptr;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScales = nullptr;
    std::vector<std::unique_ptr<Output>> outputs; // in the order the compositor announced them

    bool background = false;     // --background: under the windows, deaf to input
    bool inputEnds = false;      // a key, a button or a move asked to end
    bool outputsChanged = false; // one came or went since the layout was made
    bool covering = false;       // the outputs are being covered: the start is over
    // A keyboard that came while the water shows (plugged in, or a virtual one) may bring its
    // first key down already, in its enter: that is a key pressed. One there from the start may
    // hold the key that started the program.
    bool keyboardIsNew = false;
    // Where the pointer was first seen on the surface it is over; unset after each enter, as the
    // compositor's first motion there is no move of the user's.
    bool pointerSeen = false;
    double pointerX = 0;
    double pointerY = 0;
};
