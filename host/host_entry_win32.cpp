// Process start: the raw command line, the Windows family, the mode, and process exit.
#include <windows.h>

#include "host/host_entry_win32.h"

#include "host/command_line.h"
#include "host/exception_guard_win32.h"
#include "host/host_modes_win32.h"
#include "host/saver_display_mode_win32.h"
#include "host/saver_window_win32.h"

HINSTANCE hostInstance = nullptr;
int onWin9x = 0;

namespace {

HWND toWindow(WindowNumber number) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(number));
}

WindowNumber toNumber(HWND window) {
    return static_cast<WindowNumber>(reinterpret_cast<UINT_PTR>(window));
}

bool isWindowNumber(WindowNumber number) {
    return IsWindow(toWindow(number)) != FALSE;
}

WindowNumber foregroundWindowNumber() {
    return toNumber(GetForegroundWindow());
}

const WindowChecks kWin32WindowChecks = {isWindowNumber, foregroundWindowNumber};

const char* nextCharacter(const char* text) {
    return CharNextA(text);
}

bool detectWin9x() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int runMode(const char* commandText) {
    const HostCommand command = readHostCommand(commandText, onWin9x != 0, kWin32WindowChecks);
    switch (command.mode) {
    case HostMode::Configure:
        return ShowConfigDialog(toWindow(command.window));
    case HostMode::Saver:
        return RunSaver(nullptr);
    case HostMode::Preview:
        return RunSaver(toWindow(command.window));
    case HostMode::ChangePassword:
        ChangeSaverPassword(toWindow(command.window));
        return 0;
    case HostMode::Invalid:
        break;
    }
    return kInvalidModeResult;
}

int showCommandOfStartup() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

} // namespace

void HostEntry() {
    const char* arguments = skipProgramName(GetCommandLineA(), nextCharacter);
    const int result = HostMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(arguments),
                                showCommandOfStartup());
    // A quit that ended the loop before the window was destroyed would otherwise leave the
    // display in the saver's mode: the system does not restore it when the process ends.
    restoreSaverDisplayMode();
    ExitProcess(static_cast<UINT>(result));
}

int HostMain(HINSTANCE instance, HINSTANCE, LPSTR commandText, int) {
    hostInstance = instance;
    onWin9x = detectWin9x() ? 1 : 0;
    installCrashCleanup();
    return runGuarded(runMode, commandText, UnhandledExceptionFilter);
}
