// The display mode the saver switches to for its run, put back exactly once.
#include <windows.h>

#include "host/saver_display_mode_win32.h"

#include "display/display_mode.h"
#include "settings/saver_settings.h"

namespace {

// 1 while the display runs in a mode the saver switched to. Written by the window thread when
// it switches; claimed with an exchange by whichever thread restores (the window thread, or
// the crash filter on the render thread), so the restore happens once.
volatile LONG displayModeSwitched = 0;

} // namespace

bool saverDisplayModeChosen() {
    return saverSettings.displayWidth != 0 && saverSettings.displayHeight != 0 &&
           saverSettings.displayDepth != 0;
}

bool switchToSaverDisplayMode() {
    if (!switchDisplayMode(saverSettings.displayWidth, saverSettings.displayHeight,
                           saverSettings.displayDepth)) {
        return false;
    }
    InterlockedExchange(&displayModeSwitched, 1);
    return true;
}

void restoreSaverDisplayMode() {
    if (InterlockedExchange(&displayModeSwitched, 0) != 0) {
        switchDisplayMode(0, 0, 0);
    }
}

bool saverDisplayModeActive() {
    return displayModeSwitched != 0;
}
