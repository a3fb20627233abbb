// Covers where the compositor offers no layer shell (GNOME, weston): a full-screen toplevel per
// output. The compositor may still place other windows over it.
#include "wayland/cover_surfaces.h"

namespace {

void ping(void*, xdg_wm_base* wmBase, uint32_t serial) {
    xdg_wm_base_pong(wmBase, serial);
}

const xdg_wm_base_listener kWmBaseListener = {ping};

// The size comes with the toplevel's configure; the serial with the xdg_surface's that follows.
void surfaceConfigure(void* data, xdg_surface*, uint32_t serial) {
    CoverSurface& cover = *static_cast<CoverSurface*>(data);
    noteConfigure(cover, serial, cover.width, cover.height);
}

const xdg_surface_listener kSurfaceListener = {surfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    auto& output = *static_cast<Output*>(data);
    // 0 leaves the size to the client: the output's own.
    const ScreenRect rect = {0, 0, output.modeWidth / output.scale,
                             output.modeHeight / output.scale};
    output.cover->width = width > 0 ? width : rect.right;
    output.cover->height = height > 0 ? height : rect.bottom;
}

// Closing the window is the user's asking to end, as on X11.
void toplevelClose(void* data, xdg_toplevel*) {
    static_cast<Output*>(data)->state->inputEnds = true;
}

void toplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener kToplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds,
                                                 toplevelCapabilities};

} // namespace

void listenToWmBase(WaylandState& state) {
    xdg_wm_base_add_listener(state.wmBase, &kWmBaseListener, &state);
}

void giveToplevelRole(WaylandState& state, Output& output) {
    CoverSurface& cover = *output.cover;
    cover.xdgSurface = xdg_wm_base_get_xdg_surface(state.wmBase, cover.surface);
    xdg_surface_add_listener(cover.xdgSurface, &kSurfaceListener, &cover);
    cover.toplevel = xdg_surface_get_toplevel(cover.xdgSurface);
    xdg_toplevel_add_listener(cover.toplevel, &kToplevelListener, &output);
    xdg_toplevel_set_title(cover.toplevel, "3D Mereflow");
    xdg_toplevel_set_app_id(cover.toplevel, "mereflow");
    xdg_toplevel_set_fullscreen(cover.toplevel, output.output);
    wl_surface_commit(cover.surface);
}
