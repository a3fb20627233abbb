// The modes besides the saver window: configuration, password change, and the system's
// screen-saver-running state.
#include <windows.h>

#include "host/host_modes_win32.h"

#include "host/host_entry_win32.h"
#include "resources/resource_ids.h"
#include "settings/configure_dialog_win32.h"

namespace {

// Exported by the Windows 9x network password component.
using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD, DWORD);

} // namespace

void SetSaverRunning(int running) {
    if (!onWin9x) {
        return;
    }
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running, &previous, 0);
}

BOOL PrepareConfigDialogClasses(HINSTANCE) {
    return TRUE;
}

int ShowConfigDialog(HWND owner) {
    if (!PrepareConfigDialogClasses(hostInstance)) {
        return 0;
    }
    return static_cast<int>(DialogBoxParamA(hostInstance, MAKEINTRESOURCEA(IDD_CONFIGURE), owner,
                                            ConfigureDialogProc, 0));
}

void ChangeSaverPassword(HWND owner) {
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == nullptr) {
        return;
    }
    auto change = reinterpret_cast<PwdChangePasswordFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change != nullptr) {
        change("SCRSAVE", owner, 0, 0);
    }
    FreeLibrary(library);
}
