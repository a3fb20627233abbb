// The Change Resolution dialog (template 114): the display mode the saver switches to.
#pragma once

#include <windows.h>

// The dialog procedure of template 114. Its edit boxes write the display settings as they are
// typed; OK applies the list's choice and stores every setting. Returns 0 for every message.
INT_PTR CALLBACK ChangeResolutionDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
