// The configuration dialog (template 2003) and its About box (template 2004).
#pragma once

#include <windows.h>

// The dialog procedure of template 2003: edits the settings record live, stores it on OK.
INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Writes every setting into its control. Writing an edit makes it report a change, so each
// edit-bound real then holds the whole number its edit shows.
void refreshDialog(HWND dialog);

// Applies the preset of a preset button, then, when a dialog is given, rewrites its controls
// and re-syncs its sliders. Returns false, changing nothing, for any other button id.
bool applyPreset(int buttonId, HWND dialog);

// The About box: centres itself on the desktop and ends on OK or Cancel.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
