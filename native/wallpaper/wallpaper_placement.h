// Laying a wallpaper picture over the monitors as the desktop draws it.
#pragma once

#include "native/pictures/desktop_image.h"
#include "native/wallpaper/wallpaper_setting.h"

#include <string>

// A screen-sized picture in which each monitor's rectangle shows the wallpaper fitted to that
// monitor (spanned: to the rectangle all of them span), nearest pixel; what no monitor shows,
// and the bars beside a picture that does not cover its monitor, are black. A screen without
// monitors is one monitor. False, with the reason in whyNot, for a screen too large for a
// picture or when the memory cannot be had.
bool placeWallpaper(const RgbPicture& wallpaper, WallpaperFit fit, const ScreenShape& screen,
                    RgbPicture& placed, std::string& whyNot);
