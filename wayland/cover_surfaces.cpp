// What every cover does whatever its role: its scale, its frames, its end.
#include "wayland/cover_surfaces.h"

#include "native/layout/surface_scale.h"
#include "scene/frame.h"
#include "wayland/egl_context.h"

namespace {

void frameShown(void* data, wl_callback* callback, uint32_t) {
    auto& cover = *static_cast<CoverSurface*>(data);
    wl_callback_destroy(callback);
    cover.frameCallback = nullptr;
}

const wl_callback_listener kFrameListener = {frameShown};

void preferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale120) {
    static_cast<CoverSurface*>(data)->preferredScale120 = scale120;
}

const wp_fractional_scale_v1_listener kFractionalScaleListener = {preferredScale};

// The size the buffer must have for the configured size on this output, and how the surface is
// told its scale.
SurfaceBuffer bufferFor(const Output& output) {
    const CoverSurface& cover = *output.cover;
    const uint32_t fractional = cover.viewport ? cover.preferredScale120 : 0;
    return surfaceBuffer(cover.width, cover.height, output.scale, fractional);
}

bool fitEglWindow(CoverSurface& cover, const SurfaceBuffer& buffer) {
    if (cover.eglWindow && buffer.width == cover.bufferWidth &&
        buffer.height == cover.bufferHeight) {
        return true;
    }
    cover.bufferWidth = buffer.width;
    cover.bufferHeight = buffer.height;
    if (!cover.eglWindow) {
        return attachEglSurface(cover);
    }
    wl_egl_window_resize(cover.eglWindow, buffer.width, buffer.height, 0, 0);
    return true;
}

} // namespace

void coverOutput(WaylandState& state, Output& output) {
    output.cover = std::make_unique<CoverSurface>();
    CoverSurface& cover = *output.cover;
    cover.surface = wl_compositor_create_surface(state.compositor);
    if (state.fractionalScales && state.viewporter) {
        cover.viewport = wp_viewporter_get_viewport(state.viewporter, cover.surface);
        cover.fractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(
            state.fractionalScales, cover.surface);
        wp_fractional_scale_v1_add_listener(cover.fractionalScale, &kFractionalScaleListener,
                                            &cover);
    }
    if (state.layerShell) {
        giveLayerRole(state, output);
    } else {
        giveToplevelRole(state, output);
    }
}

void destroyCover(CoverSurface& cover) {
    detachEglSurface(cover);
    if (cover.frameCallback) {
        wl_callback_destroy(cover.frameCallback);
    }
    if (cover.fractionalScale) {
        wp_fractional_scale_v1_destroy(cover.fractionalScale);
    }
    if (cover.viewport) {
        wp_viewport_destroy(cover.viewport);
    }
    if (cover.layer) {
        zwlr_layer_surface_v1_destroy(cover.layer);
    }
    if (cover.toplevel) {
        xdg_toplevel_destroy(cover.toplevel);
    }
    if (cover.xdgSurface) {
        xdg_surface_destroy(cover.xdgSurface);
    }
    wl_surface_destroy(cover.surface);
}

void noteConfigure(CoverSurface& cover, uint32_t serial, int width, int height) {
    cover.configureSerial = serial;
    cover.mustAck = true;
    cover.width = width;
    cover.height = height;
}

void ackConfigure(CoverSurface& cover) {
    if (!cover.mustAck) {
        return;
    }
    if (cover.layer) {
        zwlr_layer_surface_v1_ack_configure(cover.layer, cover.configureSerial);
    } else {
        xdg_surface_ack_configure(cover.xdgSurface, cover.configureSerial);
    }
    cover.mustAck = false;
}

bool readyToDraw(const CoverSurface& cover) {
    return !cover.closed && cover.width > 0 && cover.height > 0 && !cover.frameCallback;
}

bool prepareFrame(Output& output) {
    CoverSurface& cover = *output.cover;
    const SurfaceBuffer buffer = bufferFor(output);
    if (!fitEglWindow(cover, buffer) || !makeCurrentOn(cover)) {
        return false;
    }
    // Every frame, as the fractional scale may come after the first: a buffer scale left over
    // from the integer path would not divide the buffer's size.
    if (wl_surface_get_version(cover.surface) >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
        wl_surface_set_buffer_scale(cover.surface, buffer.bufferScale);
    }
    if (cover.viewport) {
        wp_viewport_set_destination(cover.viewport, buffer.viewport ? cover.width : -1,
                                    buffer.viewport ? cover.height : -1);
    }
    ackConfigure(cover);
    cover.frameCallback = wl_surface_frame(cover.surface);
    wl_callback_add_listener(cover.frameCallback, &kFrameListener, &cover);
    // The whole water on each output, with that output's picture.
    frameViewports = {};
    frameViewports.viewports[0] = {0, 0, buffer.width, buffer.height};
    frameViewports.monitors[0] = output.monitor;
    frameViewports.count = 1;
    return true;
}
