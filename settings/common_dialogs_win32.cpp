// The common-dialog seam, pointing at the system's dialogs.
#include <windows.h>

#include "settings/common_dialogs_win32.h"

CommonDialogs commonDialogs = {ChooseColorA, GetOpenFileNameA};
