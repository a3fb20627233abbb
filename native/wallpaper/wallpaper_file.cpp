// Finding and reading the desktop's wallpaper file.
#include "native/wallpaper/wallpaper_file.h"

#include "imaging/picture_files.h"
#include "native/wallpaper/kde_wallpaper.h"
#include "native/wallpaper/wallpaper_placement.h"

#include <cstdlib>

namespace {

// XDG_CURRENT_DESKTOP is a list separated by colons, such as "ubuntu:GNOME".
bool currentDesktopIsGnome() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    const std::string list = desktops ? std::string(":") + desktops + ":" : "";
    return list.find(":GNOME") != std::string::npos;
}

bool readSetting(const WallpaperSources& sources, bool gnome, const ScreenShape& screen,
                 WallpaperSetting& setting, std::string& whyNot) {
    if (gnome) {
        return sources.gnome && readGnomeWallpaper(sources.gnome, setting, whyNot);
    }
    return !sources.kdeConfigHome.empty() &&
           readKdeWallpaper(sources.kdeConfigHome, screen, setting, whyNot);
}

bool readAndPlace(const WallpaperSetting& setting, const ScreenShape& screen, DesktopImage& image,
                  std::string& whyNot) {
    RgbPicture wallpaper;
    std::string error;
    if (!readPicture(setting.path, wallpaper, error)) {
        whyNot = "the wallpaper file " + error;
        return false;
    }
    if (!placeWallpaper(wallpaper, setting.fit, screen, image.picture, whyNot)) {
        return false;
    }
    image.onRoot = {0, 0, screen.width, screen.height};
    image.cutToWindow = true;
    return true;
}

} // namespace

WallpaperSources wallpaperSourcesOfEnvironment() {
    WallpaperSources sources;
    sources.gnome = readGnomeSettingWithGsettings;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (configHome && configHome[0] == '/') {
        sources.kdeConfigHome = configHome;
    } else if (home && home[0] == '/') {
        sources.kdeConfigHome = std::string(home) + "/.config";
    }
    sources.gnomeFirst = currentDesktopIsGnome();
    return sources;
}

bool readWallpaperFileFrom(const WallpaperSources& sources, const ScreenShape& screen,
                           DesktopImage& image, std::string& whyNot) {
    std::string firstReason;
    for (const bool gnome : {sources.gnomeFirst, !sources.gnomeFirst}) {
        WallpaperSetting setting;
        std::string reason;
        if (readSetting(sources, gnome, screen, setting, reason) &&
            readAndPlace(setting, screen, image, reason)) {
            return true;
        }
        if (firstReason.empty()) {
            firstReason = reason;
        }
    }
    whyNot = firstReason.empty() ? "no wallpaper is set" : firstReason;
    return false;
}

bool readWallpaperFile(const ScreenShape& screen, DesktopImage& image, std::string& whyNot) {
    return readWallpaperFileFrom(wallpaperSourcesOfEnvironment(), screen, image, whyNot);
}
