// What the user told a screen-saver daemon in ~/.xscreensaver that concerns this program.
#pragma once

#include <istream>

// Whether programs may show the desktop: a line "grabDesktopImages:" whose value is False, off,
// no or 0 (any case) says no; no such line says yes, as the daemon's own default does. The last
// such line wins.
bool grabDesktopImagesIn(std::istream& preferences);

// The same for $HOME/.xscreensaver, given HOME (null when unset); yes when there is no file.
bool grabDesktopImages(const char* home);
