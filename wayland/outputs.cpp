// The registry's globals and the outputs' descriptions.
#include "wayland/outputs.h"

#include "wayland/cover_surfaces.h"
#include "wayland/seat_input.h"

#include <algorithm>
#include <cstring>

namespace {

void outputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                    const char*, const char*, int32_t) {
    auto* output = static_cast<Output*>(data);
    output->x = x;
    output->y = y;
}

void outputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    auto* output = static_cast<Output*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        output->modeWidth = width;
        output->modeHeight = height;
    }
}

void outputDone(void* data, wl_output*) {
    auto* output = static_cast<Output*>(data);
    output->done = true;
    output->state->outputsChanged = true;
}

void outputScale(void* data, wl_output*, int32_t factor) {
    static_cast<Output*>(data)->scale = std::max(factor, 1);
}

void outputName(void*, wl_output*, const char*) {}
void outputDescription(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {outputGeometry, outputMode, outputDone,
                                            outputScale,    outputName, outputDescription};

void logicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    ScreenRect& rect = static_cast<Output*>(data)->logical;
    rect = {x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)};
}

void logicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    ScreenRect& rect = static_cast<Output*>(data)->logical;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
}

// From version 3 the compositor ends a change with wl_output.done; before, with this.
void xdgOutputDone(void* data, zxdg_output_v1*) {
    static_cast<Output*>(data)->state->outputsChanged = true;
}

void xdgOutputName(void*, zxdg_output_v1*, const char*) {}
void xdgOutputDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kXdgOutputListener = {logicalPosition, logicalSize, xdgOutputDone,
                                                    xdgOutputName, xdgOutputDescription};

void describeLogically(WaylandState& state, Output& output) {
    if (state.xdgOutputs && !output.xdgOutput) {
        output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(state.xdgOutputs, output.output);
        zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
    }
}

void addOutput(WaylandState& state, uint32_t name, uint32_t version) {
    auto output = std::make_unique<Output>();
    output->state = &state;
    output->name = name;
    output->output = static_cast<wl_output*>(
        wl_registry_bind(state.registry, name, &wl_output_interface, std::min(version, 4u)));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    describeLogically(state, *output);
    state.outputs.push_back(std::move(output));
}

template <typename T>
T* bind(WaylandState& state, uint32_t name, const wl_interface* interface, uint32_t version) {
    return static_cast<T*>(wl_registry_bind(state.registry, name, interface, version));
}

void announce(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
    auto& state = *static_cast<WaylandState*>(data);
    const auto is = [interface](const wl_interface& known) {
        return std::strcmp(interface, known.name) == 0;
    };
    if (is(wl_compositor_interface)) {
        state.compositor =
            bind<wl_compositor>(state, name, &wl_compositor_interface, std::min(version, 4u));
    } else if (is(wl_shm_interface)) {
        state.shm = bind<wl_shm>(state, name, &wl_shm_interface, 1);
    } else if (is(wl_seat_interface) && !state.seat) {
        state.seatVersion = std::min(version, 5u);
        state.seat = bind<wl_seat>(state, name, &wl_seat_interface, state.seatVersion);
        listenToSeat(state);
    } else if (is(wl_output_interface)) {
        addOutput(state, name, version);
    } else if (is(zwlr_layer_shell_v1_interface)) {
        state.layerShell = bind<zwlr_layer_shell_v1>(state, name, &zwlr_layer_shell_v1_interface,
                                                     std::min(version, 4u));
    } else if (is(xdg_wm_base_interface)) {
        state.wmBase =
            bind<xdg_wm_base>(state, name, &xdg_wm_base_interface, std::min(version, 2u));
        listenToWmBase(state);
    } else if (is(zwlr_screencopy_manager_v1_interface)) {
        state.screenCopy =
            bind<zwlr_screencopy_manager_v1>(state, name, &zwlr_screencopy_manager_v1_interface, 1);
    } else if (is(zxdg_output_manager_v1_interface)) {
        state.xdgOutputs = bind<zxdg_output_manager_v1>(
            state, name, &zxdg_output_manager_v1_interface, std::min(version, 3u));
        for (auto& output : state.outputs) {
            describeLogically(state, *output);
        }
    } else if (is(wp_viewporter_interface)) {
        state.viewporter = bind<wp_viewporter>(state, name, &wp_viewporter_interface, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface)) {
        state.fractionalScales = bind<wp_fractional_scale_manager_v1>(
            state, name, &wp_fractional_scale_manager_v1_interface, 1);
    }
}

// Only outputs are withdrawn while the program runs, as far as it cares: a lost seat or shell
// would end the session anyway.
void withdraw(void* data, wl_registry*, uint32_t name) {
    auto& state = *static_cast<WaylandState*>(data);
    const auto gone = std::find_if(state.outputs.begin(), state.outputs.end(),
                                   [name](const auto& output) { return output->name == name; });
    if (gone != state.outputs.end()) {
        releaseOutput(**gone);
        state.outputs.erase(gone);
        state.outputsChanged = true;
    }
}

const wl_registry_listener kRegistryListener = {announce, withdraw};

} // namespace

void listenToRegistry(WaylandState& state) {
    state.registry = wl_display_get_registry(state.display);
    wl_registry_add_listener(state.registry, &kRegistryListener, &state);
}

ScreenRect outputRect(const Output& output) {
    if (output.logical.right > output.logical.left && output.logical.bottom > output.logical.top) {
        return output.logical;
    }
    return {output.x, output.y, output.x + output.modeWidth / output.scale,
            output.y + output.modeHeight / output.scale};
}

ScreenShape readScreenShape(WaylandState& state) {
    ScreenShape shape;
    for (auto& output : state.outputs) {
        if (!output->done || shape.monitors.count == kMaxMonitors) {
            continue;
        }
        output->monitor = shape.monitors.count;
        addMonitor(shape.monitors, outputRect(*output), shape.monitors.count == 0);
    }
    const ScreenRect all = virtualScreen(shape.monitors);
    shape.width = all.right - all.left;
    shape.height = all.bottom - all.top;
    return shape;
}

void releaseOutput(Output& output) {
    if (output.cover) {
        destroyCover(*output.cover);
        output.cover.reset();
    }
    if (output.xdgOutput) {
        zxdg_output_v1_destroy(output.xdgOutput);
    }
    if (wl_output_get_version(output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output.output);
    } else {
        wl_output_destroy(output.output);
    }
}

void releaseGlobals(WaylandState& state) {
    if (state.fractionalScales) {
        wp_fractional_scale_manager_v1_destroy(state.fractionalScales);
    }
    if (state.viewporter) {
        wp_viewporter_destroy(state.viewporter);
    }
    if (state.xdgOutputs) {
        zxdg_output_manager_v1_destroy(state.xdgOutputs);
    }
    // The description holds no destroy request of screen copy: this frees the proxy alone.
    if (state.screenCopy) {
        zwlr_screencopy_manager_v1_destroy(state.screenCopy);
    }
    if (state.wmBase) {
        xdg_wm_base_destroy(state.wmBase);
    }
    // Before version 3 layer shell has no destroy request either.
    if (state.layerShell && zwlr_layer_shell_v1_get_version(state.layerShell) >=
                                ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION) {
        zwlr_layer_shell_v1_destroy(state.layerShell);
    } else if (state.layerShell) {
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(state.layerShell));
    }
    if (state.shm) {
        wl_shm_destroy(state.shm);
    }
    if (state.compositor) {
        wl_compositor_destroy(state.compositor);
    }
    if (state.registry) {
        wl_registry_destroy(state.registry);
    }
}
