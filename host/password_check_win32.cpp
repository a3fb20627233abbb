// The Windows 9x password check: armed from the desktop's setting before the saver window
// exists, released after the message loop.
#include <windows.h>

#include "host/saver_window_win32.h"

#include "host/host_entry_win32.h"
#include "host/host_modes_win32.h"

namespace {

// The desktop's switch is read whatever its registry type: a value of up to 4 bytes fills the
// low bytes of a number that starts at 0; a longer one fails and leaves the check off.
bool desktopAsksForPassword() {
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) {
        return false;
    }
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    const LONG status = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&usePassword), &size);
    RegCloseKey(desktop);
    return status == ERROR_SUCCESS && usePassword != 0;
}

} // namespace

void PreparePasswordCheck() {
    if (!onWin9x) {
        return;
    }
    if (passwordLibrary != nullptr) {
        ReleasePasswordCheck();
    }
    if (!desktopAsksForPassword()) {
        return;
    }
    passwordLibrary = LoadLibraryA("PASSWORD.CPL");
    if (passwordLibrary == nullptr) {
        return;
    }
    verifyPassword = reinterpret_cast<VerifyPasswordFn>(
        reinterpret_cast<void*>(GetProcAddress(passwordLibrary, "VerifyScreenSavePwd")));
    if (verifyPassword != nullptr) {
        SetSaverRunning(1);
    } else {
        ReleasePasswordCheck();
    }
}

// The system's screen-saver-running state is on exactly while the check is armed.
void ReleasePasswordCheck() {
    if (!onWin9x || passwordLibrary == nullptr) {
        return;
    }
    FreeLibrary(passwordLibrary);
    passwordLibrary = nullptr;
    if (verifyPassword != nullptr) {
        verifyPassword = nullptr;
        SetSaverRunning(0);
    }
}
