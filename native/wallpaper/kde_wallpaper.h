// KDE Plasma's wallpaper, from plasma-org.kde.plasma.desktop-appletsrc.
#pragma once

#include "native/pictures/desktop_image.h"
#include "native/wallpaper/wallpaper_setting.h"

#include <string>

// The image of the desktop containment on the primary screen (lastScreen=0), else of the one
// with the lowest number that has an Image, read from configHome's appletsrc. A wallpaper
// package folder gives the smallest of its contents/images/WxH pictures that covers the primary
// monitor, else its largest. FillMode as Plasma's image wallpaper takes it (2, the default,
// zooms). False with an empty whyNot when no containment names an image; with a reason when the
// one named is no local file or a package without pictures.
bool readKdeWallpaper(const std::string& configHome, const ScreenShape& screen,
                      WallpaperSetting& setting, std::string& whyNot);
