// Finding and reading the desktop's wallpaper file.
#include "native/pictures/wallpaper_file.h"

bool readWallpaperFile(const ScreenShape&, DesktopImage&, std::string& whyNot) {
    whyNot = "no wallpaper file is set";
    return false;
}
