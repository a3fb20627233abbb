// screenSaverRunning: one SystemParametersInfoA query.
#include "support/screen_saver_state_win32.h"

BOOL screenSaverRunning() {
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}
