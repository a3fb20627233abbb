#include <windows.h>

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "settings/common_dialogs_win32.h"
#include "settings/configure_dialog_win32.h"
#include "settings/registry_store.h"
#include "settings/saver_settings.h"
#include "support/dialog_driver_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Starts each case from an empty store, the defaults in memory and the real common dialogs.
class ConfigureDialog : public testing::Test {
protected:
    void SetUp() override {
        clearSettingsStore();
        saverSettings = SaverSettings{};
        applyDefaults();
        savedDialogs = commonDialogs;
    }

    void TearDown() override {
        commonDialogs = savedDialogs;
        if (dialog != nullptr) {
            DestroyWindow(dialog);
        }
        clearSettingsStore();
    }

    void open() {
        dialog = openModelessDialog(IDD_CONFIGURE, ConfigureDialogProc);
        ASSERT_NE(dialog, nullptr);
    }

    int sliderPosition(int id) const {
        return static_cast<int>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
    }

    bool checked(int id) const { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

    HWND dialog = nullptr;
    CommonDialogs savedDialogs = {};
};

struct EditRow {
    int id;
    const char* text;
};

void expectEdits(HWND dialog, const EditRow* rows, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(controlText(dialog, rows[i].id), rows[i].text) << "edit " << rows[i].id;
    }
}

TEST_F(ConfigureDialog, WithoutAStoreEveryControlShowsTheDefaults) {
    open();
    EXPECT_FALSE(checked(IDC_USE_RANDOM_PRESET));
    EXPECT_TRUE(checked(IDC_ENABLE_MOVEMENT));
    EXPECT_TRUE(checked(IDC_ENABLE_COLOR));
    EXPECT_FALSE(checked(IDC_SHOW_FRAME_RATE));

    EXPECT_EQ(comboEntries(dialog, IDC_SOURCE_TEXTURE),
              (std::vector<std::string>{"Desktop", "Chomify", "Sky", "White", "Custom..."}));
    const std::vector<std::string> sizes = {"128", "256", "512", "1024"};
    EXPECT_EQ(comboEntries(dialog, IDC_TEXTURE_WIDTH), sizes);
    EXPECT_EQ(comboEntries(dialog, IDC_TEXTURE_HEIGHT), sizes);
    EXPECT_EQ(selectedEntryText(dialog, IDC_SOURCE_TEXTURE), "Chomify");
    EXPECT_EQ(selectedEntryText(dialog, IDC_TEXTURE_WIDTH), "512");
    EXPECT_EQ(selectedEntryText(dialog, IDC_TEXTURE_HEIGHT), "256");
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "");

    const EditRow edits[] = {
        {IDC_MESH_X, "80"},
        {IDC_MESH_Y, "60"},
        {IDC_ROTATE_X_AMPLITUDE, "0"},
        {IDC_ROTATE_X_TIME, "0"},
        {IDC_ROTATE_Y_AMPLITUDE, "0"},
        {IDC_ROTATE_Y_TIME, "0"},
        {IDC_ROTATE_Z_AMPLITUDE, "0"},
        {IDC_ROTATE_Z_TIME, "0"},
        {IDC_ZOOM_AMPLITUDE, "14"},
        {IDC_ZOOM_TIME, "0"},
    };
    expectEdits(dialog, edits, std::size(edits));

    EXPECT_EQ(sliderPosition(IDC_MAX_DRIPS), 3);
    EXPECT_EQ(sliderPosition(IDC_MIN_AMPLITUDE), 400);
    EXPECT_EQ(sliderPosition(IDC_MAX_AMPLITUDE), 1000);
    EXPECT_EQ(sliderPosition(IDC_SPEED_SCALING), 80);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SPEED_SCALING, TBM_GETRANGEMIN, 0, 0), 10);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SPEED_SCALING, TBM_GETRANGEMAX, 0, 0), 300);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_MAX_AMPLITUDE, TBM_GETRANGEMAX, 0, 0), 3000);
    EXPECT_EQ(controlText(dialog, IDC_MAX_DRIPS_VALUE), "   3");
    EXPECT_EQ(controlText(dialog, IDC_MIN_AMPLITUDE_VALUE), "4.00");
    EXPECT_EQ(controlText(dialog, IDC_MAX_AMPLITUDE_VALUE), "10.00");
    EXPECT_EQ(controlText(dialog, IDC_SPEED_SCALING_VALUE), "0.80");
}

TEST_F(ConfigureDialog, StoredSpeedScalingSitsAtEightyAndAnyTrackbarRereadsAllFour) {
    saveSettings();
    open();
    EXPECT_EQ(saverSettings.speedScaling, 0.79999995f);
    EXPECT_EQ(sliderPosition(IDC_SPEED_SCALING), 80);
    EXPECT_EQ(controlText(dialog, IDC_SPEED_SCALING_VALUE), "0.80");

    // The user presses the right arrow on Maximum Drips.
    SendDlgItemMessageA(dialog, IDC_MAX_DRIPS, WM_KEYDOWN, VK_RIGHT, 0);
    SendDlgItemMessageA(dialog, IDC_MAX_DRIPS, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(saverSettings.maxDrips, 4);
    EXPECT_EQ(controlText(dialog, IDC_MAX_DRIPS_VALUE), "   4");
    EXPECT_EQ(static_cast<double>(saverSettings.speedScaling), 0.800000011920929);
    EXPECT_EQ(saverSettings.minAmplitude, 4.0f);
    EXPECT_EQ(saverSettings.maxAmplitude, 10.0f);
}

TEST_F(ConfigureDialog, MovementValuesAreWholeNumbersAsSoonAsTheDialogOpens) {
    saverSettings.zoomAmplitude = 14.5f;
    saverSettings.rotateZTime = 200.75f;
    saveSettings();
    open();
    EXPECT_EQ(controlText(dialog, IDC_ZOOM_AMPLITUDE), "14");
    EXPECT_EQ(controlText(dialog, IDC_ROTATE_Z_TIME), "200");
    EXPECT_EQ(saverSettings.zoomAmplitude, 14.0f);
    EXPECT_EQ(saverSettings.rotateZTime, 200.0f);

    clickControl(dialog, IDOK);
    loadSettings();
    EXPECT_EQ(saverSettings.zoomAmplitude, 14.0f);
}

TEST_F(ConfigureDialog, UnlistedWidthShowsTheFirstEntryAndKeepsItsValue) {
    saverSettings.textureWidth = 300;
    saverSettings.textureHeight = 1024;
    saveSettings();
    open();
    EXPECT_EQ(selectedEntryText(dialog, IDC_TEXTURE_WIDTH), "128");
    EXPECT_EQ(selectedEntryText(dialog, IDC_TEXTURE_HEIGHT), "1024");
    EXPECT_EQ(saverSettings.textureWidth, 300);

    clickControl(dialog, IDOK);
    EXPECT_EQ(storedDword("000_003"), 300);

    chooseComboEntry(dialog, IDC_TEXTURE_WIDTH, 3, CBN_SELCHANGE);
    EXPECT_EQ(saverSettings.textureWidth, 1024);
    // Only a changed selection is a choice; Wine confirms a list closed without one too.
    chooseComboEntry(dialog, IDC_TEXTURE_HEIGHT, 1, CBN_SELENDOK);
    EXPECT_EQ(saverSettings.textureHeight, 1024);
}

TEST_F(ConfigureDialog, TabbingThroughAndOpeningAListWithoutAChoiceKeepAnUnlistedWidth) {
    saverSettings.textureWidth = 300;
    saveSettings();
    open();
    SetForegroundWindow(dialog);
    pumpMessages(50);
    HWND first = GetFocus();
    ASSERT_NE(first, nullptr);
    bool visitedWidth = false;
    bool visitedHeight = false;
    for (int press = 0; press < 40; ++press) {
        pressKey(dialog, VK_TAB);
        visitedWidth = visitedWidth || GetFocus() == GetDlgItem(dialog, IDC_TEXTURE_WIDTH);
        visitedHeight = visitedHeight || GetFocus() == GetDlgItem(dialog, IDC_TEXTURE_HEIGHT);
        if (GetFocus() == first) {
            break;
        }
    }
    EXPECT_TRUE(visitedWidth && visitedHeight);

    clickWithMouse(dialog, IDC_TEXTURE_WIDTH);
    EXPECT_TRUE(SendDlgItemMessageA(dialog, IDC_TEXTURE_WIDTH, CB_GETDROPPEDSTATE, 0, 0));
    clickWithMouse(dialog, IDC_TEXTURE_WIDTH);
    EXPECT_FALSE(SendDlgItemMessageA(dialog, IDC_TEXTURE_WIDTH, CB_GETDROPPEDSTATE, 0, 0));
    clickWithMouse(dialog, IDOK);
    EXPECT_EQ(storedDword("000_003"), 300);
}

TEST_F(ConfigureDialog, EditsStoreTheirLeadingWholeNumberAsTyped) {
    open();
    SetDlgItemTextA(dialog, IDC_MESH_X, "123");
    EXPECT_EQ(saverSettings.meshX, 123.0f);
    SetDlgItemTextA(dialog, IDC_ROTATE_Y_TIME, "");
    EXPECT_EQ(saverSettings.rotateYTime, 0.0f);
    // Only nine characters are read, whatever the control holds.
    SetDlgItemTextA(dialog, IDC_MESH_Y, "12345678901234567890");
    EXPECT_EQ(saverSettings.meshY, 123456789.0f);
}

TEST_F(ConfigureDialog, CheckBoxesInvertTheirFlags) {
    saverSettings.showFrameRate = 7;
    saveSettings();
    open();
    EXPECT_TRUE(checked(IDC_SHOW_FRAME_RATE));
    clickControl(dialog, IDC_SHOW_FRAME_RATE);
    clickControl(dialog, IDC_USE_RANDOM_PRESET);
    clickControl(dialog, IDC_ENABLE_MOVEMENT);
    clickControl(dialog, IDC_ENABLE_COLOR);
    EXPECT_EQ(saverSettings.showFrameRate, 0);
    EXPECT_EQ(saverSettings.useRandomPreset, 1);
    EXPECT_EQ(saverSettings.enableMovement, 0);
    EXPECT_EQ(saverSettings.enableColor, 0);
    EXPECT_FALSE(checked(IDC_SHOW_FRAME_RATE));
    EXPECT_TRUE(checked(IDC_USE_RANDOM_PRESET));
}

struct PresetView {
    int button;
    const char* source;
    const char* meshX;
    const char* meshY;
    const char* rotateZAmplitude;
    const char* rotateZTime;
    const char* zoomAmplitude;
    int maxDrips;
    int minAmplitude;
    int maxAmplitude;
};

TEST_F(ConfigureDialog, PresetsRewriteTheControlsButNotSizesFrameRateOrRandomPreset) {
    saverSettings.textureWidth = 1024;
    saverSettings.textureHeight = 128;
    saverSettings.showFrameRate = 1;
    saverSettings.useRandomPreset = 1;
    saveSettings();
    open();
    SetDlgItemTextA(dialog, IDC_ROTATE_X_TIME, "55");

    const PresetView views[] = {
        {IDC_PRESET_1, "Chomify", "75", "55", "0", "0", "15", 10, 1000, 3000},
        {IDC_PRESET_2, "Desktop", "75", "55", "3600", "200", "14", 10, 1500, 2500},
        {IDC_PRESET_3, "White", "100", "75", "0", "0", "15", 10, 0, 3000},
        {IDC_PRESET_4, "Desktop", "100", "75", "0", "0", "14", 15, 2000, 3000},
    };
    for (const PresetView& view : views) {
        SCOPED_TRACE(view.button);
        clickControl(dialog, view.button);
        EXPECT_EQ(selectedEntryText(dialog, IDC_SOURCE_TEXTURE), view.source);
        const EditRow edits[] = {
            {IDC_MESH_X, view.meshX},
            {IDC_MESH_Y, view.meshY},
            {IDC_ROTATE_X_TIME, "0"},
            {IDC_ROTATE_Z_AMPLITUDE, view.rotateZAmplitude},
            {IDC_ROTATE_Z_TIME, view.rotateZTime},
            {IDC_ZOOM_AMPLITUDE, view.zoomAmplitude},
        };
        expectEdits(dialog, edits, std::size(edits));
        EXPECT_EQ(sliderPosition(IDC_MAX_DRIPS), view.maxDrips);
        EXPECT_EQ(sliderPosition(IDC_MIN_AMPLITUDE), view.minAmplitude);
        EXPECT_EQ(sliderPosition(IDC_MAX_AMPLITUDE), view.maxAmplitude);
        EXPECT_EQ(sliderPosition(IDC_SPEED_SCALING), 100);
        EXPECT_EQ(controlText(dialog, IDC_SPEED_SCALING_VALUE), "1.00");
        EXPECT_TRUE(checked(IDC_ENABLE_MOVEMENT));
        EXPECT_TRUE(checked(IDC_ENABLE_COLOR));
        EXPECT_EQ(selectedEntryText(dialog, IDC_TEXTURE_WIDTH), "1024");
        EXPECT_EQ(selectedEntryText(dialog, IDC_TEXTURE_HEIGHT), "128");
        EXPECT_TRUE(checked(IDC_SHOW_FRAME_RATE));
        EXPECT_TRUE(checked(IDC_USE_RANDOM_PRESET));
    }
}

TEST_F(ConfigureDialog, DefaultsRewriteTheControlsButKeepThePathAndDisplayMode) {
    std::strcpy(saverSettings.customPicturePath, "C:\\pictures\\lake.jpg");
    saverSettings.sourceTexture = kSourceCustom;
    saverSettings.displayWidth = 800;
    saverSettings.displayHeight = 600;
    saverSettings.displayDepth = 16;
    saverSettings.meshX = 33;
    saverSettings.maxDrips = 12;
    saverSettings.showFrameRate = 1;
    saveSettings();
    open();
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "C:\\pictures\\lake.jpg");

    clickControl(dialog, IDC_DEFAULTS);
    EXPECT_EQ(controlText(dialog, IDC_MESH_X), "80");
    EXPECT_EQ(sliderPosition(IDC_MAX_DRIPS), 3);
    EXPECT_FALSE(checked(IDC_SHOW_FRAME_RATE));
    EXPECT_EQ(selectedEntryText(dialog, IDC_SOURCE_TEXTURE), "Chomify");
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "");
    EXPECT_STREQ(saverSettings.customPicturePath, "C:\\pictures\\lake.jpg");
    EXPECT_EQ(saverSettings.displayWidth, 800);
    EXPECT_EQ(saverSettings.displayHeight, 600);
    EXPECT_EQ(saverSettings.displayDepth, 16);
}

// Answers the file-open dialog the way a test wants and remembers what it was asked.
struct FileDialogAnswer {
    OPENFILENAMEA request;
    std::string initialFile;
    std::string filter;
    const char* chosen; // nullptr: the user cancels
    bool scribble;      // cancel as with a name too long: the needed size over the first bytes
};

FileDialogAnswer fileAnswer;

BOOL WINAPI answerFileDialog(LPOPENFILENAMEA request) {
    fileAnswer.request = *request;
    fileAnswer.initialFile = request->lpstrFile;
    fileAnswer.filter.assign(request->lpstrFilter, 0);
    for (const char* p = request->lpstrFilter; *p != '\0'; p += std::strlen(p) + 1) {
        fileAnswer.filter += p;
        fileAnswer.filter += '|';
    }
    if (fileAnswer.scribble) {
        const WORD needed = 300;
        std::memcpy(request->lpstrFile, &needed, sizeof needed);
        request->lpstrFile[2] = '\0';
    }
    if (fileAnswer.chosen == nullptr) {
        return FALSE;
    }
    std::strcpy(request->lpstrFile, fileAnswer.chosen);
    return TRUE;
}

TEST_F(ConfigureDialog, CustomWithTheFileDialogCancelledStoresCustomWithAnEmptyPath) {
    fileAnswer = FileDialogAnswer{};
    commonDialogs.getOpenFileName = answerFileDialog;
    open();
    chooseComboEntry(dialog, IDC_SOURCE_TEXTURE, kSourceCustom, CBN_SELENDOK);
    EXPECT_EQ(saverSettings.sourceTexture, kSourceCustom);
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "");

    const OPENFILENAMEA& asked = fileAnswer.request;
    EXPECT_EQ(asked.lStructSize, 76u);
    EXPECT_EQ(asked.hwndOwner, dialog);
    EXPECT_EQ(asked.nFilterIndex, 1u);
    EXPECT_EQ(asked.nMaxFile, 260u);
    EXPECT_STREQ(asked.lpstrTitle, "Open Picture File");
    EXPECT_EQ(asked.Flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
    EXPECT_EQ(fileAnswer.filter,
              "Supported Files Types(*.bmp;*.gif;*.jpg;*.ico;*.emf;*.wmf)|"
              "*.bmp;*.gif;*.jpg;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|GIF Files (*.gif)|*.gif|"
              "JPEG Files (*.jpg)|*.jpg|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|"
              "Windows Metafiles (*.wmf)|*.wmf|");

    clickControl(dialog, IDOK);
    loadSettings();
    EXPECT_EQ(saverSettings.sourceTexture, kSourceCustom);
    EXPECT_STREQ(saverSettings.customPicturePath, "");
}

TEST_F(ConfigureDialog, CancelledFileDialogKeepsTheOldPathEvenWhenItWroteOverTheBuffer) {
    fileAnswer = FileDialogAnswer{};
    fileAnswer.scribble = true;
    commonDialogs.getOpenFileName = answerFileDialog;
    std::strcpy(saverSettings.customPicturePath, "C:\\pictures\\lake.jpg");
    saveSettings();
    open();
    chooseComboEntry(dialog, IDC_SOURCE_TEXTURE, kSourceCustom, CBN_SELENDOK);
    EXPECT_EQ(fileAnswer.initialFile, "C:\\pictures\\lake.jpg");
    EXPECT_STREQ(saverSettings.customPicturePath, "C:\\pictures\\lake.jpg");
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "C:\\pictures\\lake.jpg");

    // Another source hides the path but keeps it.
    chooseComboEntry(dialog, IDC_SOURCE_TEXTURE, kSourceSky, CBN_SELENDOK);
    EXPECT_EQ(saverSettings.sourceTexture, kSourceSky);
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "");
    EXPECT_STREQ(saverSettings.customPicturePath, "C:\\pictures\\lake.jpg");
}

TEST_F(ConfigureDialog, ChosenPictureBecomesThePathAndTheStatusLine) {
    fileAnswer = FileDialogAnswer{};
    fileAnswer.chosen = "C:\\pictures\\sea.gif";
    commonDialogs.getOpenFileName = answerFileDialog;
    open();
    chooseComboEntry(dialog, IDC_SOURCE_TEXTURE, kSourceCustom, CBN_SELENDOK);
    EXPECT_STREQ(saverSettings.customPicturePath, "C:\\pictures\\sea.gif");
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), "C:\\pictures\\sea.gif");
    // Only a confirmed choice runs the file dialog.
    fileAnswer.chosen = "C:\\other.bmp";
    chooseComboEntry(dialog, IDC_SOURCE_TEXTURE, kSourceCustom, CBN_SELCHANGE);
    EXPECT_STREQ(saverSettings.customPicturePath, "C:\\pictures\\sea.gif");
}

TEST_F(ConfigureDialog, UnterminatedPathIsShownCutAtItsBuffer) {
    fileAnswer = FileDialogAnswer{};
    commonDialogs.getOpenFileName = answerFileDialog;
    open();
    // As a store might leave it: 260 characters and no terminating zero.
    saverSettings.sourceTexture = kSourceCustom;
    std::memset(saverSettings.customPicturePath, 'a', kPathBufferSize);
    refreshDialog(dialog);
    EXPECT_EQ(controlText(dialog, IDC_STATUS_LINE), std::string(kPathBufferSize - 1, 'a'));
    chooseComboEntry(dialog, IDC_SOURCE_TEXTURE, kSourceCustom, CBN_SELENDOK);
    EXPECT_EQ(fileAnswer.initialFile, std::string(kPathBufferSize - 1, 'a'));
}

CHOOSECOLORA colorRequest;
COLORREF colorReply;

BOOL WINAPI answerColorChooser(LPCHOOSECOLORA request) {
    colorRequest = *request;
    request->rgbResult = colorReply;
    return TRUE;
}

BOOL WINAPI cancelColorChooser(LPCHOOSECOLORA request) {
    colorRequest = *request;
    return FALSE;
}

TEST_F(ConfigureDialog, ColorChooserStartsFromTheSettingAndStoresItsAnswer) {
    commonDialogs.chooseColor = answerColorChooser;
    open();
    saverSettings.minColor = {0.5f, 0.25f, 1.0f};
    colorReply = RGB(255, 0, 128);
    clickControl(dialog, IDC_MIN_COLOR);
    EXPECT_EQ(colorRequest.rgbResult, RGB(127, 63, 255));
    EXPECT_EQ(colorRequest.hwndOwner, dialog);
    EXPECT_NE(colorRequest.lpCustColors, nullptr);
    EXPECT_EQ(colorRequest.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    EXPECT_EQ(saverSettings.minColor.red, 1.0f);
    EXPECT_EQ(saverSettings.minColor.green, 0.0f);
    EXPECT_EQ(saverSettings.minColor.blue, 128 * (1.0f / 255.0f));

    commonDialogs.chooseColor = cancelColorChooser;
    saverSettings.maxColor = {0.5f, 0.25f, 1.0f};
    clickControl(dialog, IDC_MAX_COLOR);
    EXPECT_EQ(colorRequest.rgbResult, RGB(127, 63, 255));
    EXPECT_EQ(saverSettings.maxColor.red, 127 * (1.0f / 255.0f));
    EXPECT_EQ(saverSettings.maxColor.green, 63 * (1.0f / 255.0f));
    EXPECT_EQ(saverSettings.maxColor.blue, 1.0f);
}

TEST_F(ConfigureDialog, OkStoresEveryValueWithTheMarkerCleared) {
    const INT_PTR result =
        runModalDialog(IDD_CONFIGURE, ConfigureDialogProc, "Mereflow Configuration", [](HWND d) {
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDOK));
            SetDlgItemTextA(d, IDC_MESH_X, "90");
            clickControl(d, IDOK);
        });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(storedValueCount(), 38);
    EXPECT_EQ(storedDword("000_000"), 0);
    EXPECT_EQ(storedDword("000_027"), 9000);
}

TEST_F(ConfigureDialog, CancelStoresNothing) {
    const INT_PTR result =
        runModalDialog(IDD_CONFIGURE, ConfigureDialogProc, "Mereflow Configuration", [](HWND d) {
            SetDlgItemTextA(d, IDC_MESH_X, "90");
            clickControl(d, IDCANCEL);
        });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(storedValueCount(), 0);
    EXPECT_EQ(saverSettings.meshX, 90.0f);
}

TEST_F(ConfigureDialog, ChangeResolutionOpensOwnedByTheDialogAndItsOkStoresEverything) {
    open();
    SetDlgItemTextA(dialog, IDC_MESH_X, "91");
    HWND owner = nullptr;
    whenDialogOpens("Change Resolution", [&owner](HWND resolution) {
        owner = GetWindow(resolution, GW_OWNER);
        clickControl(resolution, IDOK);
    });
    clickControl(dialog, IDC_CHANGE_RESOLUTION);
    EXPECT_EQ(owner, dialog);
    EXPECT_EQ(storedDword("000_027"), 9100);
    // Cancelling the configuration dialog afterwards does not take it back.
    clickControl(dialog, IDCANCEL);
    EXPECT_EQ(storedDword("000_027"), 9100);
}

TEST_F(ConfigureDialog, AboutBoxIsCentredOnTheDesktopAndEndsOnOk) {
    open();
    RECT about = {};
    HWND owner = nullptr;
    whenDialogOpens("About", [&](HWND box) {
        GetWindowRect(box, &about);
        owner = GetWindow(box, GW_OWNER);
        // The first control is the logo, 230 by 41 pixels.
        HWND logo = GetWindow(box, GW_CHILD);
        HBITMAP bitmap =
            reinterpret_cast<HBITMAP>(SendMessageA(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP size = {};
        ASSERT_NE(bitmap, nullptr);
        GetObjectA(bitmap, sizeof size, &size);
        EXPECT_EQ(size.bmWidth, 230);
        EXPECT_EQ(size.bmHeight, 41);
        clickControl(box, IDOK);
    });
    clickControl(dialog, IDC_ABOUT);
    EXPECT_EQ(owner, dialog);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int width = about.right - about.left;
    const int height = about.bottom - about.top;
    EXPECT_GT(width, 0);
    EXPECT_EQ(about.left, desktop.left + (desktop.right - desktop.left - width) / 2);
    EXPECT_EQ(about.top, desktop.top + (desktop.bottom - desktop.top - height) / 2);
}

// The middle of a swatch, and a point on its black frame, in window coordinates.
POINT swatchMiddle(HWND dialog, int id) {
    const RECT r = controlRectInWindow(dialog, id);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(ConfigureDialog, SwatchesShowTheirColoursInsideTheirFrames) {
    open();
    saverSettings.minColor = {1, 0, 0};
    saverSettings.maxColor = {0, 0, 1};
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const Screenshot shot = captureWindow(dialog);
    EXPECT_TRUE(saveScreenshot(shot, "configure_dialog"));
    const POINT minMiddle = swatchMiddle(dialog, IDC_MIN_COLOR);
    const POINT maxMiddle = swatchMiddle(dialog, IDC_MAX_COLOR);
    EXPECT_EQ(shot.pixel(minMiddle.x, minMiddle.y), RGB(255, 0, 0));
    EXPECT_EQ(shot.pixel(maxMiddle.x, maxMiddle.y), RGB(0, 0, 255));
    const RECT frame = controlRectInWindow(dialog, IDC_MIN_COLOR);
    // The static draws its frame over the fill, which covers everything inside it.
    EXPECT_NE(shot.pixel(frame.left, minMiddle.y), RGB(255, 0, 0));
    EXPECT_EQ(shot.pixel(frame.left + 1, minMiddle.y), RGB(255, 0, 0));
    EXPECT_EQ(shot.pixel(frame.right - 2, frame.bottom - 2), RGB(255, 0, 0));

    RECT units = {0, 0, 333, 231};
    MapDialogRect(dialog, &units);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);

    // A preset, and then Defaults, put black and white back on screen.
    for (int button : {IDC_PRESET_2, IDC_DEFAULTS}) {
        SCOPED_TRACE(button);
        saverSettings.minColor = {1, 0, 0};
        saverSettings.maxColor = {0, 0, 1};
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_EQ(captureWindow(dialog).pixel(minMiddle.x, minMiddle.y), RGB(255, 0, 0));
        clickControl(dialog, button);
        const Screenshot after = captureWindow(dialog);
        EXPECT_EQ(after.pixel(minMiddle.x, minMiddle.y), RGB(0, 0, 0));
        EXPECT_EQ(after.pixel(maxMiddle.x, maxMiddle.y), RGB(255, 255, 255));
    }
}

struct ControlKind {
    int id;
    const char* className;
    LONG styleBits;  // all of these are set
    LONG absentBits; // none of these is set
};

// One control of each kind the template uses.
const ControlKind kConfigureKinds[] = {
    {IDOK, "Button", BS_PUSHBUTTON | WS_TABSTOP, BS_DEFPUSHBUTTON},
    {IDC_CHANGE_RESOLUTION, "Button", BS_MULTILINE | WS_TABSTOP, 0},
    {IDC_ZOOM_TIME, "Edit", ES_NUMBER | WS_TABSTOP, ES_AUTOHSCROLL},
    {IDC_ENABLE_COLOR, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {IDC_SPEED_SCALING, TRACKBAR_CLASSA, TBS_BOTH | TBS_NOTICKS | WS_TABSTOP, TBS_VERT},
    {IDC_SPEED_SCALING_VALUE, "Static", SS_RIGHT, 0},
    {IDC_MAX_COLOR, "Static", SS_BLACKFRAME | SS_NOTIFY, 0},
    {IDC_TEXTURE_HEIGHT, "ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, CBS_SORT},
    {IDC_STATUS_LINE, "Static", SS_SUNKEN, 0},
};

void expectControlKinds(HWND dialog, const ControlKind* kinds, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const ControlKind& kind = kinds[i];
        SCOPED_TRACE(kind.id);
        HWND control = GetDlgItem(dialog, kind.id);
        ASSERT_NE(control, nullptr);
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_EQ(lstrcmpiA(className, kind.className), 0) << className;
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & kind.styleBits, kind.styleBits);
        EXPECT_EQ(style & kind.absentBits, 0);
    }
}

// NOTE: an edit turns the template's WS_BORDER into a sunken client edge when it is made.
bool bordered(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_BORDER) != 0 ||
           (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

TEST_F(ConfigureDialog, TemplateMakesEachKindOfControlWithItsStyles) {
    open();
    expectControlKinds(dialog, kConfigureKinds, std::size(kConfigureKinds));
    EXPECT_TRUE(bordered(GetDlgItem(dialog, IDC_MESH_X)));
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & frame, frame);
}

TEST_F(ConfigureDialog, AboutBoxShowsTheLogoAndTheVersion) {
    dialog = openModelessDialog(IDD_ABOUT, AboutDialogProc);
    ASSERT_NE(dialog, nullptr);
    const Screenshot shot = captureWindow(dialog);
    EXPECT_TRUE(saveScreenshot(shot, "about_box"));
    HWND logo = GetWindow(dialog, GW_CHILD);
    char version[32] = {};
    GetWindowTextA(GetWindow(logo, GW_HWNDNEXT), version, sizeof version);
    EXPECT_STREQ(version, "Version 2.0");
    // The logo's top-left pixel is the picture's, not the dialog's face.
    RECT box;
    RECT picture;
    GetWindowRect(dialog, &box);
    GetWindowRect(logo, &picture);
    EXPECT_NE(shot.pixel(picture.left - box.left + 1, picture.top - box.top + 1),
              GetSysColor(COLOR_BTNFACE));
    RECT client;
    GetClientRect(dialog, &client);
    RECT units = {0, 0, 230, 101};
    MapDialogRect(dialog, &units);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

} // namespace
