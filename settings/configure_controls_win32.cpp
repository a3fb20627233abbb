// The tables that tie the configuration dialog's controls to the settings, and refreshDialog.
#include <windows.h>

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "settings/configure_controls_win32.h"
#include "settings/configure_dialog_win32.h"
#include "settings/dialog_numbers.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"

#include <cstdio>
#include <iterator>

namespace {

struct EditSetting {
    int id;
    float SaverSettings::*field;
};

// In the order refreshDialog writes them: X, Y, then Amplitude and Time of each movement row.
constexpr EditSetting kEdits[] = {
    {IDC_MESH_X, &SaverSettings::meshX},
    {IDC_MESH_Y, &SaverSettings::meshY},
    {IDC_ROTATE_X_AMPLITUDE, &SaverSettings::rotateXAmplitude},
    {IDC_ROTATE_X_TIME, &SaverSettings::rotateXTime},
    {IDC_ROTATE_Y_AMPLITUDE, &SaverSettings::rotateYAmplitude},
    {IDC_ROTATE_Y_TIME, &SaverSettings::rotateYTime},
    {IDC_ROTATE_Z_AMPLITUDE, &SaverSettings::rotateZAmplitude},
    {IDC_ROTATE_Z_TIME, &SaverSettings::rotateZTime},
    {IDC_ZOOM_AMPLITUDE, &SaverSettings::zoomAmplitude},
    {IDC_ZOOM_TIME, &SaverSettings::zoomTime},
};

// The edits read at most this many characters; their width bounds the digits anyway.
constexpr int kEditTextLimit = 9;

struct CheckBoxSetting {
    int id;
    int32_t SaverSettings::*flag;
};

constexpr CheckBoxSetting kCheckBoxes[] = {
    {IDC_USE_RANDOM_PRESET, &SaverSettings::useRandomPreset},
    {IDC_ENABLE_MOVEMENT, &SaverSettings::enableMovement},
    {IDC_ENABLE_COLOR, &SaverSettings::enableColor},
    {IDC_SHOW_FRAME_RATE, &SaverSettings::showFrameRate},
};

struct SizeList {
    int id;
    int32_t SaverSettings::*size;
};

constexpr SizeList kSizeLists[] = {
    {IDC_TEXTURE_WIDTH, &SaverSettings::textureWidth},
    {IDC_TEXTURE_HEIGHT, &SaverSettings::textureHeight},
};

constexpr const char* kSizeTexts[] = {"128", "256", "512", "1024"};
constexpr int32_t kSizes[] = {128, 256, 512, 1024};

// Entry positions are SourceTexture values.
constexpr const char* kSourceTexts[] = {"Desktop", "Chomify", "Sky", "White", "Custom..."};

void fillList(HWND dialog, int id, const char* const* texts, size_t count) {
    SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < count; ++i) {
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
    }
}

// A size the list does not offer shows "128" while the setting keeps its value.
int sizeEntry(int32_t size) {
    for (size_t i = 0; i < std::size(kSizes); ++i) {
        if (kSizes[i] == size) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void setRange(void* dialog, int sliderId, int low, int high) {
    SendDlgItemMessageA(static_cast<HWND>(dialog), sliderId, TBM_SETRANGE, FALSE,
                        MAKELPARAM(low, high));
}

void setPosition(void* dialog, int sliderId, int position) {
    SendDlgItemMessageA(static_cast<HWND>(dialog), sliderId, TBM_SETPOS, TRUE, position);
}

int position(void* dialog, int sliderId) {
    return static_cast<int>(
        SendDlgItemMessageA(static_cast<HWND>(dialog), sliderId, TBM_GETPOS, 0, 0));
}

void setLabel(void* dialog, int labelId, const char* text) {
    SetDlgItemTextA(static_cast<HWND>(dialog), labelId, text);
}

} // namespace

SliderControls dialogSliderControls(HWND dialog) {
    return {dialog, setRange, setPosition, position, setLabel};
}

void addDialogSliderBindings() {
    SaverSettings& s = saverSettings;
    sliderBindings.add(IDC_MAX_DRIPS, IDC_MAX_DRIPS_VALUE, 0, 15, 1, nullptr, &s.maxDrips);
    sliderBindings.add(IDC_MIN_AMPLITUDE, IDC_MIN_AMPLITUDE_VALUE, 0, 30, 100, &s.minAmplitude,
                       nullptr);
    sliderBindings.add(IDC_MAX_AMPLITUDE, IDC_MAX_AMPLITUDE_VALUE, 0, 30, 100, &s.maxAmplitude,
                       nullptr);
    sliderBindings.add(IDC_SPEED_SCALING, IDC_SPEED_SCALING_VALUE, 0.1f, 3, 100, &s.speedScaling,
                       nullptr);
}

bool readEditSetting(HWND dialog, int controlId) {
    for (const EditSetting& edit : kEdits) {
        if (edit.id == controlId) {
            char text[kEditTextLimit + 1] = {};
            GetDlgItemTextA(dialog, controlId, text, sizeof text);
            saverSettings.*edit.field = static_cast<float>(parseLeadingInteger(text));
            return true;
        }
    }
    return false;
}

bool toggleCheckBoxSetting(int controlId) {
    for (const CheckBoxSetting& box : kCheckBoxes) {
        if (box.id == controlId) {
            int32_t& flag = saverSettings.*box.flag;
            flag = flag == 0 ? 1 : 0;
            return true;
        }
    }
    return false;
}

bool readTextureSizeSetting(HWND dialog, int controlId, int notification) {
    for (const SizeList& list : kSizeLists) {
        if (list.id == controlId) {
            // NOTE: only a changed selection is the user's choice. Focus, drop-down and
            // CBN_SELENDOK (which Wine also sends when a list opened and closed by clicks
            // chose nothing) would write the shown entry over an unlisted stored size.
            if (notification != CBN_SELCHANGE) {
                return true;
            }
            const LRESULT entry = SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
            if (entry >= 0 && entry < static_cast<LRESULT>(std::size(kSizes))) {
                saverSettings.*list.size = kSizes[entry];
            }
            return true;
        }
    }
    return false;
}

void setStatusLine(HWND dialog, bool showPath) {
    // The path may come from the store without its terminating zero; never read past it.
    char text[kPathBufferSize] = {};
    if (showPath) {
        std::snprintf(text, sizeof text, "%.*s", kPathBufferSize - 1,
                      saverSettings.customPicturePath);
    }
    SetDlgItemTextA(dialog, IDC_STATUS_LINE, text);
}

void refreshDialog(HWND dialog) {
    const SaverSettings& s = saverSettings;
    for (const CheckBoxSetting& box : kCheckBoxes) {
        CheckDlgButton(dialog, box.id, s.*box.flag != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    fillList(dialog, IDC_SOURCE_TEXTURE, kSourceTexts, std::size(kSourceTexts));
    for (const SizeList& list : kSizeLists) {
        fillList(dialog, list.id, kSizeTexts, std::size(kSizeTexts));
    }
    // A value outside the list selects no entry.
    const bool knownSource = s.sourceTexture >= kSourceDesktop && s.sourceTexture <= kSourceCustom;
    SendDlgItemMessageA(
        dialog, IDC_SOURCE_TEXTURE, CB_SETCURSEL,
        knownSource ? static_cast<WPARAM>(s.sourceTexture) : static_cast<WPARAM>(-1), 0);
    for (const SizeList& list : kSizeLists) {
        SendDlgItemMessageA(dialog, list.id, CB_SETCURSEL, sizeEntry(s.*list.size), 0);
    }
    setStatusLine(dialog, s.sourceTexture == kSourceCustom);
    for (const EditSetting& edit : kEdits) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(truncateToInt32(s.*edit.field)));
        SetDlgItemTextA(dialog, edit.id, text);
    }
}

bool applyPreset(int buttonId, HWND dialog) {
    if (!applyPreset(buttonId)) {
        return false;
    }
    if (dialog != nullptr) {
        refreshDialog(dialog);
        sliderBindings.syncAll(dialogSliderControls(dialog));
    }
    return true;
}
