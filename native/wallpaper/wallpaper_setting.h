// What a desktop's settings say of its wallpaper: which file, and how it fills each monitor.
#pragma once

#include <string>

// How the desktop lays its picture over a monitor; the names are GNOME's picture-options.
enum class WallpaperFit {
    kZoom,      // scaled to cover the monitor, centred, the overflow cropped
    kScaled,    // scaled to fit inside the monitor, centred, black bars beside it
    kStretched, // each side scaled on its own to the monitor's
    kCentered,  // at its own size, centred, cropped or with black around it
    kTiled,     // at its own size, repeated from the monitor's top-left corner
    kSpanned,   // zoomed once over the rectangle all the monitors span
};

struct WallpaperSetting {
    std::string path;
    WallpaperFit fit = WallpaperFit::kZoom;
};

// The local path a setting's value names: a file:// URI (percent-encoded, with or without the
// host "localhost") or an absolute path. False for any other scheme or a bad escape.
bool localPathFromUri(const std::string& value, std::string& path);
