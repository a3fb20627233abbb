// The wallpaper file that the desktop stores in its settings, for when the screen itself cannot
// be read: GNOME's and KDE Plasma's.
#pragma once

#include "native/pictures/desktop_image.h"
#include "native/wallpaper/gnome_wallpaper.h"

#include <string>

// Reads the wallpaper file the desktop's settings name and lays it over each monitor of the
// screen as that desktop draws it. False, with the reason in whyNot (one phrase, no newline,
// that may follow "and": "no wallpaper is set"), when no setting names a readable picture.
bool readWallpaperFile(const ScreenShape& screen, DesktopImage& image, std::string& whyNot);

// Where the settings are read: the seam through which tests hand in their own.
struct WallpaperSources {
    GnomeSettingReader gnome = nullptr; // none: GNOME is not asked
    std::string kdeConfigHome;          // empty: KDE is not asked
    bool gnomeFirst = false;
};

// GNOME's through gsettings and KDE's from $XDG_CONFIG_HOME (else ~/.config). GNOME comes first
// when XDG_CURRENT_DESKTOP names GNOME; else KDE does, as its file exists only where Plasma ran,
// while gsettings gives GNOME's default picture wherever GNOME's schemas are installed.
WallpaperSources wallpaperSourcesOfEnvironment();

// The first source that names a readable picture, in the order of sources; the first reason is
// kept when none does.
bool readWallpaperFileFrom(const WallpaperSources& sources, const ScreenShape& screen,
                           DesktopImage& image, std::string& whyNot);
