// Covers on layer shell: one overlay surface per output (the background layer with
// --background), anchored to every edge and sized by the compositor.
#include "wayland/cover_surfaces.h"

namespace {

constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
constexpr uint32_t kNoKeyboard = 0;
constexpr uint32_t kExclusiveKeyboard = 1;

void layerConfigure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width,
                    uint32_t height) {
    noteConfigure(*static_cast<CoverSurface*>(data), serial, static_cast<int>(width),
                  static_cast<int>(height));
}

void layerClosed(void* data, zwlr_layer_surface_v1*) {
    static_cast<CoverSurface*>(data)->closed = true;
}

const zwlr_layer_surface_v1_listener kLayerListener = {layerConfigure, layerClosed};

} // namespace

void giveLayerRole(WaylandState& state, Output& output) {
    CoverSurface& cover = *output.cover;
    const uint32_t layer =
        state.background ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY;
    cover.layer = zwlr_layer_shell_v1_get_layer_surface(state.layerShell, cover.surface,
                                                        output.output, layer, "mereflow");
    zwlr_layer_surface_v1_add_listener(cover.layer, &kLayerListener, &cover);
    // Size 0 x 0 and every edge: the output's whole size, from the compositor; zone -1: over
    // panels too, moving nothing.
    zwlr_layer_surface_v1_set_size(cover.layer, 0, 0);
    zwlr_layer_surface_v1_set_anchor(cover.layer, kAllEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(cover.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        cover.layer, state.background ? kNoKeyboard : kExclusiveKeyboard);
    if (state.background) {
        // An empty input region: clicks go to the desktop beneath, as on a wallpaper.
        wl_region* nothing = wl_compositor_create_region(state.compositor);
        wl_surface_set_input_region(cover.surface, nothing);
        wl_region_destroy(nothing);
    }
    wl_surface_commit(cover.surface);
}
