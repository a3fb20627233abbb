// What the system believes about a running screen saver.
#pragma once

#include <windows.h>

// The system's "a screen saver is running" state (SPI_GETSCREENSAVERRUNNING).
BOOL screenSaverRunning();
