// The colour swatches: painting them and choosing their colours with the system's chooser.
#include <windows.h>

#include "resources/resource_ids.h"
#include "settings/common_dialogs_win32.h"
#include "settings/configure_controls_win32.h"
#include "settings/dialog_numbers.h"
#include "settings/saver_settings.h"

namespace {

struct Swatch {
    int id;
    RgbColor SaverSettings::*color;
};

constexpr Swatch kSwatches[] = {
    {IDC_MIN_COLOR, &SaverSettings::minColor},
    {IDC_MAX_COLOR, &SaverSettings::maxColor},
};

COLORREF colorRef(const RgbColor& color) {
    return RGB(colorChannelByte(color.red), colorChannelByte(color.green),
               colorChannelByte(color.blue));
}

// NOTE: the swatch is placed with the system's own screen-to-client mapping. Adding the frame
// and caption metrics to the window rectangle gives the same origin only on unthemed frames.
void fillSwatch(HWND dialog, HDC dc, const Swatch& swatch) {
    HWND control = GetDlgItem(dialog, swatch.id);
    RECT rect;
    if (control == nullptr || !GetWindowRect(control, &rect)) {
        return;
    }
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    HBRUSH brush = CreateSolidBrush(colorRef(saverSettings.*swatch.color));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

} // namespace

INT_PTR paintSwatches(HWND dialog) {
    if (!GetUpdateRect(dialog, nullptr, FALSE)) {
        return FALSE;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    for (const Swatch& swatch : kSwatches) {
        fillSwatch(dialog, dc, swatch);
    }
    EndPaint(dialog, &paint);
    return FALSE;
}

void repaintSwatches(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void chooseSwatchColor(HWND dialog, int swatchId) {
    for (const Swatch& swatch : kSwatches) {
        if (swatch.id != swatchId) {
            continue;
        }
        RgbColor& color = saverSettings.*swatch.color;
        COLORREF customColors[16];
        for (COLORREF& custom : customColors) {
            custom = RGB(255, 255, 255);
        }
        CHOOSECOLORA chooser = {};
        chooser.lStructSize = sizeof chooser;
        chooser.hwndOwner = dialog;
        chooser.rgbResult = colorRef(color);
        chooser.lpCustColors = customColors;
        chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
        // Cancel leaves the initial colour in place, so the colour is kept, quantised.
        commonDialogs.chooseColor(&chooser);
        color.red = GetRValue(chooser.rgbResult) * kInverse255;
        color.green = GetGValue(chooser.rgbResult) * kInverse255;
        color.blue = GetBValue(chooser.rgbResult) * kInverse255;
        repaintSwatches(dialog);
    }
}
