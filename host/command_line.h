// Reading the command text that selects the saver's mode, without asking Windows directly.
#pragma once

#include <cstdint>

// The mode a command text asks for.
enum class HostMode {
    Configure,      // the configuration dialog
    Saver,          // full screen
    Preview,        // inside the control panel's preview window
    ChangePassword, // the Windows 9x password change
    Invalid,        // nothing to run; the result is kInvalidModeResult
};

// Exit code of a text that names no runnable mode.
constexpr int kInvalidModeResult = -1;

// Window handles are 32-bit numbers on the command line; 0 is no window.
using WindowNumber = uint32_t;

struct HostCommand {
    HostMode mode;
    WindowNumber window; // the preview's parent, or the owner of a dialog; 0 for none
};

// What the reading has to ask the window system.
struct WindowChecks {
    bool (*isWindow)(WindowNumber window);
    WindowNumber (*foregroundWindow)();
};

// Steps to the next character of the program's code page; null means one byte at a time.
using NextCharFn = const char* (*)(const char* text);

// Skips the program name (quoted or not) at the start of a full command line and the control
// characters and spaces after it, and returns where the arguments begin.
const char* skipProgramName(const char* commandLine, NextCharFn nextChar);

// Reads an unsigned decimal number at text; stops at the first non-digit and wraps modulo 2^32.
// No digit gives 0.
WindowNumber ParseWindowHandle(const char* text);

// Picks the mode and its window from the arguments. The password change exists only on the
// Windows 9x family, so elsewhere 'a' is as invalid as an unknown letter.
HostCommand readHostCommand(const char* arguments, bool onWin9x, const WindowChecks& checks);
