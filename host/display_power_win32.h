// Following whether the displays are lit: the console's display state, which the full-screen
// saver asks the system for, and the monitor-power system command. Drawing pauses while every
// display is off and goes on where it was when one comes back, or when input arrives.
#pragma once

#include <windows.h>

// NOTE: the headers hide this and the layout below at the _WIN32_WINNT this program keeps, so
// that it imports nothing Windows XP lacks; the value and the layout are the system's.
constexpr WPARAM kPowerSettingChange = 0x8013; // PBT_POWERSETTINGCHANGE

// POWERBROADCAST_SETTING carrying a four-byte value, the only size the saver reads.
struct PowerSettingNotice {
    GUID powerSetting;
    DWORD dataLength;
    BYTE data[sizeof(DWORD)];
};

// GUID_CONSOLE_DISPLAY_STATE (Windows 8 on) and GUID_MONITOR_POWER_ON (Vista and 7).
extern const GUID kConsoleDisplayState;
extern const GUID kMonitorPowerOn;

// The display-state setting to register for on the given Windows version; null before Vista.
const GUID* displayStateSettingFor(DWORD majorVersion, DWORD minorVersion);

// The registration while the full-screen saver window lives, and the setting it is for; both
// null when there is none. Window thread only.
extern HANDLE displayStateNotification;
extern const GUID* displayStateSetting;

// At the full-screen window's creation: registers for the display state when this Windows has
// it and the session is the console's (a remote viewer's screen is not the console's).
void registerDisplayState(HWND window);
void unregisterDisplayState();

// What a message says about the displays.
enum class DisplayPower { Unchanged, Off, On };

// WM_POWERBROADCAST with kPowerSettingChange: the registered setting's four-byte state, 0 off,
// 1 on, 2 dimmed. Anything else changes nothing.
DisplayPower displayPowerFromNotice(LPARAM notice);

// WM_SYSCOMMAND: SC_MONITORPOWER with 2 (off) or -1 (on); 1 (low power) changes nothing.
DisplayPower displayPowerFromCommand(WPARAM command, LPARAM state);
