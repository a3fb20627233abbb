// AboutDialogProc: the About box, centred on the desktop.
#include <windows.h>

#include "settings/configure_dialog_win32.h"

namespace {

void centreOnDesktop(HWND dialog) {
    RECT desktop;
    RECT box;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &box);
    const int left = desktop.left + ((desktop.right - desktop.left) - (box.right - box.left)) / 2;
    const int top = desktop.top + ((desktop.bottom - desktop.top) - (box.bottom - box.top)) / 2;
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        centreOnDesktop(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
