// The display seam on Windows: EnumDisplaySettingsA, ChangeDisplaySettingsA and a message box.
#include <windows.h>

#include "display/display_seam.h"

// The seam's portable copies of the system's numbers must be the system's own.
static_assert(kDisplayFieldDepth == DM_BITSPERPEL, "depth field");
static_assert(kDisplayFieldWidth == DM_PELSWIDTH, "width field");
static_assert(kDisplayFieldHeight == DM_PELSHEIGHT, "height field");
static_assert(kDisplayChangeSuccessful == DISP_CHANGE_SUCCESSFUL, "success");
static_assert(kDisplayChangeRestart == DISP_CHANGE_RESTART, "restart");
static_assert(kDisplayChangeFailed == DISP_CHANGE_FAILED, "failure");
static_assert(kDisplayChangeBadMode == DISP_CHANGE_BADMODE, "bad mode");

namespace {

// NOTE: the record's size must be set and no driver-private bytes asked for, or the system
// may write past the record.
bool fetchRecord(int32_t number, DEVMODEA* record) {
    ZeroMemory(record, sizeof *record);
    record->dmSize = sizeof *record;
    record->dmDriverExtra = 0;
    return EnumDisplaySettingsA(nullptr, static_cast<DWORD>(number), record) != FALSE;
}

bool enumerateMode(int32_t number, DisplayMode* mode) {
    DEVMODEA record;
    if (!fetchRecord(number, &record)) {
        return false;
    }
    mode->width = static_cast<int32_t>(record.dmPelsWidth);
    mode->height = static_cast<int32_t>(record.dmPelsHeight);
    mode->depth = static_cast<int32_t>(record.dmBitsPerPel);
    mode->frequency = static_cast<int32_t>(record.dmDisplayFrequency);
    return true;
}

int32_t changeMode(int32_t number, const DisplayMode* request, uint32_t fields) {
    DEVMODEA record;
    // A record that cannot be fetched goes with only the requested fields filled in.
    fetchRecord(number, &record);
    record.dmSize = sizeof record;
    record.dmDriverExtra = 0;
    if (request != nullptr) {
        record.dmPelsWidth = static_cast<DWORD>(request->width);
        record.dmPelsHeight = static_cast<DWORD>(request->height);
        record.dmBitsPerPel = static_cast<DWORD>(request->depth);
        record.dmFields = fields;
    }
    return ChangeDisplaySettingsA(&record, CDS_FULLSCREEN);
}

int32_t restoreMode() {
    return ChangeDisplaySettingsA(nullptr, 0);
}

void showMessage(const char* text) {
    MessageBoxA(nullptr, text, "SS Error", MB_ICONERROR);
}

} // namespace

const DisplaySeam platformDisplaySeam = {enumerateMode, changeMode, restoreMode, showMessage};
