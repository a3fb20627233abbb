// The Source Texture list and the file-open step that picks the custom picture.
#include <windows.h>

#include "resources/resource_ids.h"
#include "settings/common_dialogs_win32.h"
#include "settings/configure_controls_win32.h"
#include "settings/saver_settings.h"

#include <cstring>

namespace {

// Pairs of description and pattern, each ending in a zero, the whole ending in two.
constexpr char kPictureFilter[] = "Supported Files Types(*.bmp;*.gif;*.jpg;*.ico;*.emf;*.wmf)\0"
                                  "*.bmp;*.gif;*.jpg;*.ico;*.emf;*.wmf\0"
                                  "Bitmaps (*.bmp)\0*.bmp\0"
                                  "GIF Files (*.gif)\0*.gif\0"
                                  "JPEG Files (*.jpg)\0*.jpg\0"
                                  "Icons (*.ico)\0*.ico\0"
                                  "Enhanced Metafiles (*.emf)\0*.emf\0"
                                  "Windows Metafiles (*.wmf)\0*.wmf\0";

// The structure size of the original OPENFILENAMEA, without the Windows 2000 members.
constexpr DWORD kOpenFileNameSize = 76;
static_assert(kOpenFileNameSize <= sizeof(OPENFILENAMEA), "OPENFILENAMEA shrank");

} // namespace

void choosePictureFile(HWND dialog) {
    // The dialog works on a copy: on failure (Cancel, or a name too long for the buffer, where
    // it writes the size it needs over the first bytes) the old path stays as it was.
    char path[kPathBufferSize] = {};
    std::memcpy(path, saverSettings.customPicturePath, kPathBufferSize - 1);

    OPENFILENAMEA request = {};
    request.lStructSize = kOpenFileNameSize;
    request.hwndOwner = dialog;
    request.lpstrFilter = kPictureFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = path;
    request.nMaxFile = kPathBufferSize;
    request.lpstrTitle = "Open Picture File";
    request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (commonDialogs.getOpenFileName(&request)) {
        path[kPathBufferSize - 1] = '\0';
        std::memcpy(saverSettings.customPicturePath, path, kPathBufferSize);
    }
}

void chooseSourceTexture(HWND dialog) {
    const LRESULT entry = SendDlgItemMessageA(dialog, IDC_SOURCE_TEXTURE, CB_GETCURSEL, 0, 0);
    if (entry < kSourceDesktop || entry > kSourceCustom) {
        return;
    }
    saverSettings.sourceTexture = static_cast<int32_t>(entry);
    if (entry == kSourceCustom) {
        choosePictureFile(dialog);
    }
    setStatusLine(dialog, entry == kSourceCustom);
}
