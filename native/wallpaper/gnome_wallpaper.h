// GNOME's wallpaper, from its settings (org.gnome.desktop.background).
#pragma once

#include "native/wallpaper/wallpaper_setting.h"

#include <string>

// Gives the value of a settings key as `gsettings get SCHEMA KEY` prints it (GVariant text, such
// as 'zoom'); false when there is none: no gsettings, no such schema or key, a failing command.
using GnomeSettingReader = bool (*)(const std::string& schema, const std::string& key,
                                    std::string& printed);

// Runs gsettings, with a time limit.
bool readGnomeSettingWithGsettings(const std::string& schema, const std::string& key,
                                   std::string& printed);

// The string that a GVariant's text form holds ('…' or "…", with backslash escapes); false for
// anything else.
bool parseGVariantString(const std::string& printed, std::string& text);

// The picture of the current colour scheme and its picture-options. False with an empty whyNot
// when GNOME's settings name no picture; false with a reason when they turn it off
// (picture-options 'none') or name something that is not a local file.
bool readGnomeWallpaper(GnomeSettingReader read, WallpaperSetting& setting, std::string& whyNot);
