// render_frames: draws frames of the saver offscreen, exactly as the render thread composes
// them, on a clock that steps by a fixed interval, and writes chosen frames as PNG files.
#include "frame_options.h"
#include "source_pictures.h"
#include "stepped_clock.h"

#include "common/gl.h"
#include "scene/frame.h"
#include "scene/scene_start.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "support/offscreen_gl.h"
#include "textures/source_picture.h"

#include <cstdio>

namespace {

void applyOptions(const FrameOptions& o) {
    applyDefaults();
    if (o.preset != 0) {
        applyPreset(kPresetButtonFirst + o.preset - 1);
    }
    SaverSettings& s = saverSettings;
    s.sourceTexture = o.source;
    if (o.meshX >= 0) {
        s.meshX = o.meshX;
        s.meshY = o.meshY;
    }
    if (o.drips >= 0) {
        s.maxDrips = o.drips;
    }
    if (o.movement >= 0) {
        s.enableMovement = o.movement;
    }
    if (o.color >= 0) {
        s.enableColor = o.color;
    }
    s.showFrameRate = o.frameRate;
}

// What the saver window prepares before the render thread starts, for Desktop and Custom.
bool prepareSourcePicture(const FrameOptions& o) {
    if (o.source != kSourceDesktop && o.source != kSourceCustom) {
        return true;
    }
    sourcePicture.width = saverSettings.textureWidth;
    sourcePicture.height = saverSettings.textureHeight;
    if (o.picturePath.empty()) {
        return makeTestPicture();
    }
    std::string error;
    if (!loadPpmPicture(o.picturePath, error)) {
        std::fprintf(stderr, "render_frames: %s\n", error.c_str());
        return false;
    }
    return true;
}

bool writeFrame(const OffscreenGl& gl, const FrameOptions& o, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%04d.png", frame);
    const std::string path = o.outputDirectory + name;
    if (!gl.writePng(path)) {
        std::fprintf(stderr, "render_frames: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    FrameOptions options;
    std::string error;
    if (!parseFrameOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "render_frames: %s\n%s", error.c_str(), kFrameOptionsUsage);
        return 2;
    }
    applyOptions(options);
    if (!prepareSourcePicture(options)) {
        return 1;
    }
    OffscreenGl gl(options.width, options.height);
    if (!gl.ready()) {
        std::fprintf(stderr, "render_frames: no offscreen OpenGL context\n");
        return 1;
    }

    // The render thread's start, in its order.
    glViewport(0, 0, options.width, options.height);
    startScene(options.seed);

    const double intervalMs = 1000.0 / options.framesPerSecond;
    for (int frame = 1; frame <= options.frames; ++frame) {
        advanceSteppedClock(intervalMs);
        renderFrame(nullptr);
        if ((frame % options.every == 0 || frame == options.frames) &&
            !writeFrame(gl, options, frame)) {
            return 1;
        }
    }
    return 0;
}
