// The system's modal common dialogs, called through a seam so that tests can answer them.
#pragma once

#include <windows.h>

#include <commdlg.h>

struct CommonDialogs {
    BOOL(WINAPI* chooseColor)(LPCHOOSECOLORA);
    BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA);
};

// The real ChooseColorA and GetOpenFileNameA unless a test has put its own in place. Read and
// written on the dialog's thread only.
extern CommonDialogs commonDialogs;
