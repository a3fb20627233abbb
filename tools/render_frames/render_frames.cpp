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
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

namespace {

void showChomifyInstead(const std::string& whyNot) {
    freeSourcePixels();
    std::fprintf(stderr, "render_frames: %s; showing Chomify instead\n", whyNot.c_str());
    saverSettings.sourceTexture = kSourceChomify;
}

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

// What the saver prepares before the render thread starts, for Desktop and Custom. The
// picture, a file or the test picture, stands for the whole virtual screen with Desktop on
// several monitors, each monitor showing its rectangle of it. A picture that cannot be had
// gives Chomify and one line, as the saver does.
void prepareSourcePicture(const FrameOptions& o, const ScreenRect& screen) {
    if (o.source != kSourceDesktop && o.source != kSourceCustom) {
        return;
    }
    const bool perMonitor = o.source == kSourceDesktop && o.monitors.count > 1;
    const bool custom = o.source == kSourceCustom;
    sourcePicture.width = saverSettings.textureWidth;
    sourcePicture.height = saverSettings.textureHeight;
    RgbPicture picture;
    std::string error;
    if (o.picturePath.empty()) {
        picture = perMonitor
                      ? makeTestPicture(screen.right - screen.left, screen.bottom - screen.top)
                      : makeTestPicture(sourcePicture.width, sourcePicture.height);
    } else if (!readPicture(o.picturePath, picture, error,
                            custom ? TextureSize{sourcePicture.width, sourcePicture.height}
                                   : TextureSize{})) {
        showChomifyInstead(error);
        return;
    }
    const bool prepared = perMonitor ? cutMonitorPictures(picture, o.monitors, screen)
                          : custom   ? prepareCustomPicture(picture)
                                     : stretchIntoSourcePicture(picture);
    if (!prepared) {
        const std::string name = o.picturePath.empty() ? "the test picture" : o.picturePath;
        showChomifyInstead(name + ": " + kNoMemoryForPicture);
    }
}

// The folder of the PNG files, made when it is missing.
bool makeOutputDirectory(const FrameOptions& o) {
    std::error_code error;
    if (o.every == 0 || std::filesystem::is_directory(o.outputDirectory, error) ||
        std::filesystem::create_directories(o.outputDirectory, error)) {
        return true;
    }
    std::fprintf(stderr, "render_frames: %s: cannot make the folder: %s\n",
                 o.outputDirectory.c_str(), error.message().c_str());
    return false;
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

int run(int argc, char** argv) {
    FrameOptions options;
    std::string error;
    if (!parseFrameOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "render_frames: %s\n%s", error.c_str(), kFrameOptionsUsage);
        return 2;
    }
    applyOptions(options);
    const ScreenRect screen = windowRect(options);
    if (!makeOutputDirectory(options)) {
        return 1;
    }
    prepareSourcePicture(options, screen);
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

} // namespace

// The pictures' and the offscreen buffer's allocations are checked where they are made; any other
// that fails (a frame's copy, the animation's) ends the run with one line rather than an abort.
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "\nrender_frames: out of memory\n");
        return 1;
    }
}
