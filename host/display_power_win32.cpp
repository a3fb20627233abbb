// The displays' power state: the registration for it and what its messages say.
#include <windows.h>

#include "host/display_power_win32.h"

#include <cstring>

const GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
const GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

HANDLE displayStateNotification = nullptr;
const GUID* displayStateSetting = nullptr;

namespace {

// NOTE: both exist from Windows Vista on, so they are looked up at run time in user32 rather
// than imported; the saver still starts on Windows XP.
using RegisterPowerSettingNotificationFn = HANDLE(WINAPI*)(HANDLE recipient, const GUID* setting,
                                                           DWORD flags);
using UnregisterPowerSettingNotificationFn = BOOL(WINAPI*)(HANDLE notification);

constexpr DWORD kNotifyWindowHandle = 0; // DEVICE_NOTIFY_WINDOW_HANDLE
constexpr DWORD kDisplayOff = 0;
constexpr DWORD kDisplayOn = 1;
constexpr DWORD kDisplayDimmed = 2;
constexpr int kMonitorOff = 2;
constexpr int kMonitorOn = -1;

void* findUser32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
}

const GUID* displayStateSettingOfThisWindows() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) {
        return nullptr;
    }
    return displayStateSettingFor(version.dwMajorVersion, version.dwMinorVersion);
}

} // namespace

const GUID* displayStateSettingFor(DWORD majorVersion, DWORD minorVersion) {
    if (majorVersion > 6 || (majorVersion == 6 && minorVersion >= 2)) {
        return &kConsoleDisplayState;
    }
    return majorVersion == 6 ? &kMonitorPowerOn : nullptr;
}

void registerDisplayState(HWND window) {
    if (GetSystemMetrics(SM_REMOTESESSION) != 0) {
        return;
    }
    const GUID* setting = displayStateSettingOfThisWindows();
    const auto registerFor = reinterpret_cast<RegisterPowerSettingNotificationFn>(
        findUser32Function("RegisterPowerSettingNotification"));
    if (setting == nullptr || registerFor == nullptr) {
        return;
    }
    // Set first: the system may send the current state before the call returns.
    displayStateSetting = setting;
    displayStateNotification = registerFor(window, setting, kNotifyWindowHandle);
    if (displayStateNotification == nullptr) {
        displayStateSetting = nullptr;
    }
}

void unregisterDisplayState() {
    const auto unregister = reinterpret_cast<UnregisterPowerSettingNotificationFn>(
        findUser32Function("UnregisterPowerSettingNotification"));
    if (displayStateNotification != nullptr && unregister != nullptr) {
        unregister(displayStateNotification);
    }
    displayStateNotification = nullptr;
    displayStateSetting = nullptr;
}

DisplayPower displayPowerFromNotice(LPARAM lParam) {
    const auto* notice = reinterpret_cast<const PowerSettingNotice*>(lParam);
    if (notice == nullptr || displayStateSetting == nullptr ||
        !IsEqualGUID(notice->powerSetting, *displayStateSetting) ||
        notice->dataLength != sizeof(DWORD)) {
        return DisplayPower::Unchanged;
    }
    DWORD state = 0;
    std::memcpy(&state, notice->data, sizeof state);
    if (state == kDisplayOff) {
        return DisplayPower::Off;
    }
    return state == kDisplayOn || state == kDisplayDimmed ? DisplayPower::On
                                                          : DisplayPower::Unchanged;
}

DisplayPower displayPowerFromCommand(WPARAM command, LPARAM state) {
    // The system uses the command's low four bits itself.
    if ((command & 0xFFF0) != SC_MONITORPOWER) {
        return DisplayPower::Unchanged;
    }
    switch (static_cast<int>(state)) {
    case kMonitorOff:
        return DisplayPower::Off;
    case kMonitorOn:
        return DisplayPower::On;
    default:
        return DisplayPower::Unchanged;
    }
}
