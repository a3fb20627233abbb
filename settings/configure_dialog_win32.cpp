// ConfigureDialogProc: opening the configuration dialog and answering its commands.
#include <windows.h>

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "settings/change_resolution_dialog_win32.h"
#include "settings/configure_controls_win32.h"
#include "settings/configure_dialog_win32.h"
#include "settings/presets.h"
#include "settings/registry_store.h"
#include "settings/saver_settings.h"

static_assert(IDC_PRESET_1 == kPresetButtonFirst && IDC_PRESET_4 == kPresetButtonLast,
              "the preset buttons are the presets' ids");

namespace {

constexpr int kConfigureOk = 1;
constexpr int kConfigureCancel = 2;

HINSTANCE dialogInstance(HWND dialog) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
}

BOOL initialize(HWND dialog) {
    // NOTE: the trackbar class must exist before the template's controls are made; linking
    // comctl32 registers it at load, and this call keeps that import in place.
    InitCommonControls();
    loadSettings();
    refreshDialog(dialog);
    addDialogSliderBindings();
    sliderBindings.syncAll(dialogSliderControls(dialog));
    return TRUE; // the first tab stop, OK, takes the focus
}

void putDefaultsInPlace(HWND dialog) {
    applyDefaults();
    refreshDialog(dialog);
    sliderBindings.syncAll(dialogSliderControls(dialog));
    repaintSwatches(dialog);
}

void onButton(HWND dialog, int id) {
    switch (id) {
    case IDOK:
        saverSettings.keyMarker = 0;
        saveSettings();
        EndDialog(dialog, kConfigureOk);
        break;
    case IDCANCEL:
        EndDialog(dialog, kConfigureCancel);
        break;
    case IDC_ABOUT:
        DialogBoxParamA(dialogInstance(dialog), MAKEINTRESOURCEA(IDD_ABOUT), dialog,
                        AboutDialogProc, 0);
        break;
    case IDC_DEFAULTS:
        putDefaultsInPlace(dialog);
        break;
    case IDC_CHANGE_RESOLUTION:
        DialogBoxParamA(dialogInstance(dialog), MAKEINTRESOURCEA(IDD_CHANGE_RESOLUTION), dialog,
                        ChangeResolutionDialogProc, 0);
        break;
    case IDC_MIN_COLOR:
    case IDC_MAX_COLOR:
        chooseSwatchColor(dialog, id);
        break;
    default:
        if (applyPreset(id, dialog)) {
            repaintSwatches(dialog);
        } else {
            toggleCheckBoxSetting(id);
        }
        break;
    }
}

void onCommand(HWND dialog, int id, int notification) {
    if (readEditSetting(dialog, id) || readTextureSizeSetting(dialog, id, notification)) {
        return;
    }
    if (id == IDC_SOURCE_TEXTURE) {
        if (notification == CBN_SELENDOK) {
            chooseSourceTexture(dialog);
        }
        return;
    }
    if (notification == BN_CLICKED) {
        onButton(dialog, id);
    }
}

} // namespace

INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return initialize(dialog);
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL: {
        const SliderControls controls = dialogSliderControls(dialog);
        sliderBindings.readAll(controls);
        sliderBindings.syncAll(controls);
        return TRUE;
    }
    case WM_PAINT:
        return paintSwatches(dialog);
    default:
        return FALSE;
    }
}
