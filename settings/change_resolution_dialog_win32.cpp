// ChangeResolutionDialogProc: the mode list, the edit boxes and what OK stores.
#include <windows.h>

#include "display/display_seam.h"
#include "resources/resource_ids.h"
#include "settings/change_resolution_dialog_win32.h"
#include "settings/dialog_numbers.h"
#include "settings/registry_store.h"
#include "settings/resolution_choice.h"
#include "settings/saver_settings.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct DisplayEdit {
    int id;
    int32_t SaverSettings::*field;
};

constexpr DisplayEdit kDisplayEdits[] = {
    {IDC_RESOLUTION_WIDTH, &SaverSettings::displayWidth},
    {IDC_RESOLUTION_HEIGHT, &SaverSettings::displayHeight},
    {IDC_RESOLUTION_DEPTH, &SaverSettings::displayDepth},
};

constexpr int kDisplayEditTextLimit = 63;

// An item's text, read with its length so that no item can overrun the buffer.
std::string listItemText(HWND dialog, int index) {
    const LRESULT length =
        SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) {
        return std::string();
    }
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_GETLBTEXT, index,
                                               reinterpret_cast<LPARAM>(text.data()));
    if (copied < 0 || copied > length) {
        return std::string();
    }
    return std::string(text.data(), static_cast<size_t>(copied));
}

std::vector<std::string> listItemTexts(HWND dialog) {
    const LRESULT count = SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_GETCOUNT, 0, 0);
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        texts.push_back(listItemText(dialog, i));
    }
    return texts;
}

void addListItem(HWND dialog, const char* text) {
    SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(text));
}

// One item per mode deeper than 8 bits, in the display's own order.
void listDisplayModes(HWND dialog) {
    DisplayMode mode = {};
    for (int32_t number = 0; displaySeam->enumerateMode(number, &mode); ++number) {
        const std::string text =
            modeItemText(static_cast<uint32_t>(mode.width), static_cast<uint32_t>(mode.height),
                         static_cast<uint32_t>(mode.depth));
        if (!text.empty()) {
            addListItem(dialog, text.c_str());
        }
    }
}

void initialize(HWND dialog) {
    const SaverSettings& s = saverSettings;
    // Each write makes the edit report a change, which stores the same value again.
    for (const DisplayEdit& edit : kDisplayEdits) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(s.*edit.field));
        SetDlgItemTextA(dialog, edit.id, text);
    }
    SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_RESETCONTENT, 0, 0);
    addListItem(dialog, "Current Resolution");
    addListItem(dialog, "Custom (Enter below)");
    listDisplayModes(dialog);
    const int selected =
        initialModeItem(s.displayWidth, s.displayHeight, s.displayDepth, listItemTexts(dialog));
    SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_SETCURSEL, selected, 0);
}

bool readDisplayEdit(HWND dialog, int id) {
    for (const DisplayEdit& edit : kDisplayEdits) {
        if (edit.id == id) {
            char text[kDisplayEditTextLimit + 1] = {};
            GetDlgItemTextA(dialog, id, text, sizeof text);
            saverSettings.*edit.field = parseLeadingInteger(text);
            return true;
        }
    }
    return false;
}

void confirm(HWND dialog) {
    const int selected =
        static_cast<int>(SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_GETCURSEL, 0, 0));
    const std::string text =
        selected >= kFirstModeItem ? listItemText(dialog, selected) : std::string();
    storeModeChoice(selected, text);
    saveSettings();
    EndDialog(dialog, IDOK);
}

} // namespace

INT_PTR CALLBACK ChangeResolutionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initialize(dialog);
    } else if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
            confirm(dialog);
        } else if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        } else {
            readDisplayEdit(dialog, id);
        }
    }
    return 0;
}
