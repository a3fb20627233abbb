// Driving the program's real dialogs under Wine: opening them, answering modal ones, reading
// their controls and taking screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Deletes the settings key of the test prefix, so that loading gives the defaults.
void clearSettingsStore();

// The number of values under the settings key and one DWORD value (-1 when missing).
int storedValueCount();
int64_t storedDword(const char* name);

// Creates a dialog modeless from the test program's own resources and shows it.
HWND openModelessDialog(int templateId, DLGPROC procedure);

// Dispatches this thread's messages for a while.
void pumpMessages(int milliseconds);

// Runs the script once a window of this thread with the caption appears (from any modal loop,
// on a timer). A script that never runs fails the test and cancels the dialogs it finds.
void whenDialogOpens(const char* caption, std::function<void(HWND)> script);

// Shows a dialog modally, runs the script on it and returns the dialog's result.
INT_PTR runModalDialog(int templateId, DLGPROC procedure, const char* caption,
                       std::function<void(HWND)> script);

// Clicks a button (BM_CLICK) or a notifying static (a left-button press) as the user would.
void clickControl(HWND dialog, int id);

// Real input, queued by the system as a keyboard and a mouse would queue it, then dispatched
// with the dialog's own keyboard handling (Tab moves the focus). The dialog must be in front.
void pressKey(HWND dialog, WORD key);
void clickWithMouse(HWND dialog, int id); // the left button, at the control's centre

// A control's window text and a combo box's selected entry's text.
std::string controlText(HWND dialog, int id);
std::string selectedEntryText(HWND dialog, int id);
std::vector<std::string> comboEntries(HWND dialog, int id);

// Selects a combo box entry and sends the notification a user's choice would send.
void chooseComboEntry(HWND dialog, int id, int entry, int notification);

// What the screen shows of a window, as top-down RGB rows.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    COLORREF pixel(int x, int y) const;
};

// Brings the window to the top, lets pending paints happen and copies it from the screen.
Screenshot captureWindow(HWND window);

// Writes the screenshot as screenshots/NAME.bmp beside the test program; the test command turns
// it into a PNG file.
bool saveScreenshot(const Screenshot& shot, const std::string& name);

// A control's rectangle in the coordinates of the window's top-left corner.
RECT controlRectInWindow(HWND window, int id);
