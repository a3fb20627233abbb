// render_frames: draws frames of the saver offscreen, exactly as the render thread composes
// them, on a clock that steps by a fixed interval, and writes chosen frames as PNG files and
// every frame, if asked, as an animated WebP file.
#include "frame_options.h"
#include "source_pictures.h"
#include "stepped_clock.h"

#include "common/gl.h"
#include "imaging/picture_files.h"
#include "imaging/webp_animation.h"
#include "offscreen/offscreen_gl.h"
#include "scene/frame.h"
#include "scene/scene_start.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "textures/rgb_picture.h"
#include "textures/source_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

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
    s.minColor = o.minColor.value_or(s.minColor);
    s.maxColor = o.maxColor.value_or(s.maxColor);
    s.showFrameRate = o.frameRate;
}

// The rectangle all monitors span, which the window covers; the window's own size without them.
ScreenRect windowRect(const FrameOptions& o) {
    return o.monitors.count == 0 ? ScreenRect{0, 0, o.width, o.height} : virtualScreen(o.monitors);
}

// Desktop on several monitors: the picture stands for the whole virtual screen, and each
// monitor's picture is its rectangle of it, stretched to the working size.
bool cutMonitorPictures(const FrameOptions& o, const ScreenRect& screen) {
    RgbPicture whole;
    whole.width = sourcePicture.width;
    whole.height = sourcePicture.height;
    whole.rgb.resize(3 * static_cast<size_t>(whole.width) * whole.height);
    for (size_t i = 0; i < whole.rgb.size(); i += 3) { // the buffer holds blue, green, red
        whole.rgb[i] = sourcePicture.pixels[i + 2];
        whole.rgb[i + 1] = sourcePicture.pixels[i + 1];
        whole.rgb[i + 2] = sourcePicture.pixels[i];
    }
    for (int32_t i = 0; i < o.monitors.count; ++i) {
        const ScreenRect& m = o.monitors.monitors[i];
        const ScreenRect area = {m.left - screen.left, m.top - screen.top, m.right - screen.left,
                                 m.bottom - screen.top};
        sourcePictures[i].width = saverSettings.textureWidth;
        sourcePictures[i].height = saverSettings.textureHeight;
        if (!stretchPartIntoSourcePicture(whole, area, sourcePictures[i])) {
            return false;
        }
    }
    return true;
}

// What the saver window prepares before the render thread starts, for Desktop and Custom.
bool prepareSourcePicture(const FrameOptions& o, const ScreenRect& screen) {
    if (o.source != kSourceDesktop && o.source != kSourceCustom) {
        return true;
    }
    const bool perMonitor = o.source == kSourceDesktop && o.monitors.count > 1;
    sourcePicture.width = perMonitor ? screen.right - screen.left : saverSettings.textureWidth;
    sourcePicture.height = perMonitor ? screen.bottom - screen.top : saverSettings.textureHeight;
    std::string error = "no memory for the pictures";
    const bool made =
        o.picturePath.empty() ? makeTestPicture() : loadPicture(o.picturePath, error);
    if (!made || (perMonitor && !cutMonitorPictures(o, screen))) {
        std::fprintf(stderr, "render_frames: %s\n", error.c_str());
        return false;
    }
    return true;
}

bool wantsPng(const FrameOptions& o, int frame) {
    return o.every > 0 && (frame % o.every == 0 || frame == o.frames);
}

// When the frame drawn after `frames` steps of the clock starts to show, in milliseconds.
int frameStartMs(const FrameOptions& o, int frames) {
    return static_cast<int>(std::lround(frames * 1000.0 / o.framesPerSecond));
}

// Writes what the frame asks for; the progress line is ended before any complaint.
bool writeFrame(const RgbPicture& image, const FrameOptions& o, int frame, WebpAnimation* animation,
                std::vector<std::string>& written) {
    std::string error;
    if (animation && !animation->addFrame(image, frameStartMs(o, frame - 1), error)) {
        std::fprintf(stderr, "\nrender_frames: %s\n", error.c_str());
        return false;
    }
    if (!wantsPng(o, frame)) {
        return true;
    }
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%04d.png", frame);
    const std::string path = o.outputDirectory + name;
    if (!writePng(path, image, error)) {
        std::fprintf(stderr, "\nrender_frames: %s\n", error.c_str());
        return false;
    }
    written.push_back(path);
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
    const ScreenRect screen = windowRect(options);
    if (!prepareSourcePicture(options, screen)) {
        return 1;
    }
    OffscreenGl gl(screen.right - screen.left, screen.bottom - screen.top);
    if (!gl.ready()) {
        std::fprintf(stderr, "render_frames: no offscreen OpenGL context\n");
        return 1;
    }

    // The render thread's start, in its order.
    frameViewports = layoutMonitors(options.monitors, screen, false);
    startScene(options.seed);

    std::unique_ptr<WebpAnimation> animation;
    if (!options.animationPath.empty()) {
        animation = std::make_unique<WebpAnimation>(gl.width(), gl.height());
        if (!animation->ready()) {
            std::fprintf(stderr, "render_frames: cannot start an animation\n");
            return 1;
        }
    }
    std::vector<std::string> written;
    const double intervalMs = 1000.0 / options.framesPerSecond;
    for (int frame = 1; frame <= options.frames; ++frame) {
        advanceSteppedClock(intervalMs);
        renderFrame(nullptr);
        std::fprintf(stderr, "\rframe %d of %d", frame, options.frames);
        if ((animation || wantsPng(options, frame)) &&
            !writeFrame(gl.image(), options, frame, animation.get(), written)) {
            return 1;
        }
    }
    std::fprintf(stderr, "\n");
    if (animation) {
        if (!animation->write(options.animationPath, frameStartMs(options, options.frames),
                              error)) {
            std::fprintf(stderr, "render_frames: %s\n", error.c_str());
            return 1;
        }
        written.push_back(options.animationPath);
    }
    for (const std::string& path : written) {
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
