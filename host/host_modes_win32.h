// The modes besides the saver window: configuration, password change, and the system's
// screen-saver-running state.
#pragma once

#include <windows.h>

// On the Windows 9x family, tells the system whether a saver runs (while it does, Ctrl+Alt+Del
// and task switching are off). Does nothing elsewhere.
void SetSaverRunning(int running);

// This program registers no classes for its dialog; always 1.
BOOL PrepareConfigDialogClasses(HINSTANCE instance);

// The configuration dialog, owned by owner (may be null). Returns its end code, or -1 when it
// cannot be created.
int ShowConfigDialog(HWND owner);

// The system's password change for the saver provider, when the network password component is
// present; otherwise nothing happens.
void ChangeSaverPassword(HWND owner);
