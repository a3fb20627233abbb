// The wallpaper file that the desktop stores in its settings, for when the screen itself cannot
// be read: GNOME's and KDE Plasma's.
#pragma once

#include "native/pictures/desktop_image.h"

#include <string>

// Reads the wallpaper file the desktop's settings name and lays it over each monitor of the
// screen as that desktop draws it. False, with the reason in whyNot (one phrase, no newline),
// when no setting names a readable picture.
bool readWallpaperFile(const ScreenShape& screen, DesktopImage& image, std::string& whyNot);
