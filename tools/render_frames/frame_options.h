// The render_frames command line.
#pragma once

#include "common/monitor_layout.h"
#include "settings/saver_settings.h"

#include <cstdint>
#include <optional>
#include <string>

struct FrameOptions {
    int32_t source = 3;      // a SourceTexture
    std::string picturePath; // Desktop or Custom: PNG, JPEG or binary PPM; empty: test picture
    int preset = 0;          // 1 to 4 applies that preset first; 0 keeps the defaults
    int width = 640;         // of the window, in pixels
    int height = 480;
    MonitorList monitors; // virtual-screen rectangles, the primary first; none: one screen
    float meshX = -1;     // below 0: keep the default or the preset's
    float meshY = -1;
    int drips = -1;
    int movement = -1;
    int color = -1;
    std::optional<RgbColor> minColor; // none: the default or the preset's
    std::optional<RgbColor> maxColor;
    int frameRate = 0; // "Show Frame Rate"
    uint32_t seed = 1;
    double framesPerSecond = 30;
    int frames = 60;
    int every = 30; // write every Nth frame, and the last; 0 writes none
    std::string outputDirectory = ".";
    std::string animationPath; // every frame, as an animated WebP file; empty for none
};

// Reads "--name value" pairs. Returns false, with a message, on anything it does not know.
bool parseFrameOptions(int argc, char** argv, FrameOptions& options, std::string& error);

extern const char kFrameOptionsUsage[];
