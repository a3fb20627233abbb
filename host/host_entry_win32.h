// Process start, the mode the command line selects, and process exit.
#pragma once

#include <windows.h>

// The program's module: the icon, the window class, the window and the dialog resources.
// Written once by HostMain before anything else runs.
extern HINSTANCE hostInstance;

// 1 on the Windows 9x family, whose password check, screen-saver-running state, AutoPlay
// message and password change the saver serves; else 0. Written once by HostMain.
extern int onWin9x;

// Re-reads the raw command line, runs the mode and ends the process with its result. Static
// destructors and exit handlers never run, so whatever must outlive the process is stored
// before the message loop ends.
[[noreturn]] void HostEntry();

// Picks the mode from commandText and runs it inside the exception guard; returns its result.
// The previous instance and the show command are ignored.
int HostMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandText, int showCommand);
