#include <windows.h>

#include "resources/resource_ids.h"
#include "settings/change_resolution_dialog_win32.h"
#include "settings/registry_store.h"
#include "settings/saver_settings.h"
#include "support/dialog_driver_win32.h"
#include "support/fake_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Starts each case from an empty store and the defaults, with no display mode chosen, on a
// display that lists an 8-bit mode, one mode twice (at two refresh rates) and no 640 x 480.
class ChangeResolutionDialog : public testing::Test {
protected:
    void SetUp() override {
        clearSettingsStore();
        saverSettings = SaverSettings{};
        applyDefaults();
    }

    void TearDown() override {
        if (dialog != nullptr) {
            DestroyWindow(dialog);
        }
        clearSettingsStore();
    }

    void open(int32_t width, int32_t height, int32_t depth) {
        saverSettings.displayWidth = width;
        saverSettings.displayHeight = height;
        saverSettings.displayDepth = depth;
        dialog = openModelessDialog(IDD_CHANGE_RESOLUTION, ChangeResolutionDialogProc);
        ASSERT_NE(dialog, nullptr);
    }

    int selection() const {
        return static_cast<int>(
            SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_GETCURSEL, 0, 0));
    }

    HWND dialog = nullptr;
    FakeDisplayInUse display{{
        {1024, 768, 32, 60},
        {800, 600, 8, 60},
        {800, 600, 16, 60},
        {1280, 1024, 32, 60},
        {800, 600, 16, 75},
    }};
};

void expectStoredDisplay(int64_t width, int64_t height, int64_t depth) {
    EXPECT_EQ(storedDword("000_006"), width);
    EXPECT_EQ(storedDword("000_007"), height);
    EXPECT_EQ(storedDword("000_008"), depth);
}

TEST_F(ChangeResolutionDialog, ListsTheFixedItemsThenEveryModeDeeperThanEightBits) {
    open(0, 0, 0);
    const std::vector<std::string> expected = {
        "Current Resolution", "Custom (Enter below)", "1024x768x32",
        "800x600x16",         "1280x1024x32",         "800x600x16",
    };
    EXPECT_EQ(comboEntries(dialog, IDC_RESOLUTION_LIST), expected);
    EXPECT_EQ(controlText(dialog, IDC_RESOLUTION_WIDTH), "0");
    EXPECT_EQ(controlText(dialog, IDC_RESOLUTION_DEPTH), "0");
}

TEST_F(ChangeResolutionDialog, ZerosSelectCurrentResolutionAndOkStoresZerosAgain) {
    open(0, 0, 0);
    EXPECT_EQ(selection(), 0);
    clickControl(dialog, IDOK);
    expectStoredDisplay(0, 0, 0);
}

TEST_F(ChangeResolutionDialog, ModeWithADepthOfZeroSelectsCurrentAndOkDiscardsIt) {
    open(800, 600, 0);
    EXPECT_EQ(controlText(dialog, IDC_RESOLUTION_WIDTH), "800");
    EXPECT_EQ(selection(), 0);
    clickControl(dialog, IDOK);
    expectStoredDisplay(0, 0, 0);
}

TEST_F(ChangeResolutionDialog, OfferedModeSelectsItsLastItemAndUnofferedModeSelectsCustom) {
    open(800, 600, 16);
    EXPECT_EQ(selection(), 5);
    DestroyWindow(dialog);

    open(640, 480, 16);
    EXPECT_EQ(selectedEntryText(dialog, IDC_RESOLUTION_LIST), "Custom (Enter below)");
}

TEST_F(ChangeResolutionDialog, TypedNumbersAreStoredAsTheyAreTyped) {
    open(0, 0, 0);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_WIDTH, "800x600");
    EXPECT_EQ(saverSettings.displayWidth, 800);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_HEIGHT, "  -768 lines");
    EXPECT_EQ(saverSettings.displayHeight, -768);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_DEPTH, "sixteen");
    EXPECT_EQ(saverSettings.displayDepth, 0);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_DEPTH, std::string(200, '9').c_str());
    EXPECT_EQ(saverSettings.displayDepth, 2147483647);
}

TEST_F(ChangeResolutionDialog, CustomWithTheDepthLeftAtZeroStoresWhatWasTyped) {
    open(0, 0, 0);
    SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_SETCURSEL, 1, 0);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_WIDTH, "1024");
    SetDlgItemTextA(dialog, IDC_RESOLUTION_HEIGHT, "768");
    clickControl(dialog, IDOK);
    expectStoredDisplay(1024, 768, 0);
}

TEST_F(ChangeResolutionDialog, WithNoItemSelectedOkKeepsTheEditNumbers) {
    open(0, 0, 0);
    SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_LIST, "640x480x16");
    SetDlgItemTextA(dialog, IDC_RESOLUTION_WIDTH, "1280");
    SetDlgItemTextA(dialog, IDC_RESOLUTION_HEIGHT, "1024");
    SetDlgItemTextA(dialog, IDC_RESOLUTION_DEPTH, "32");
    clickControl(dialog, IDOK);
    expectStoredDisplay(1280, 1024, 32);
}

TEST_F(ChangeResolutionDialog, ListedModeStoresItsNumbersOverTheTypedOnes) {
    open(0, 0, 0);
    SendDlgItemMessageA(dialog, IDC_RESOLUTION_LIST, CB_SETCURSEL, 4, 0);
    SetDlgItemTextA(dialog, IDC_RESOLUTION_WIDTH, "1");
    clickControl(dialog, IDOK);
    expectStoredDisplay(1280, 1024, 32);
}

TEST_F(ChangeResolutionDialog, OkStoresEverySettingAndEndsWithOk) {
    saverSettings.meshX = 42;
    const INT_PTR result =
        runModalDialog(IDD_CHANGE_RESOLUTION, ChangeResolutionDialogProc, "Change Resolution",
                       [](HWND d) { clickControl(d, IDOK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(storedValueCount(), 38);
    EXPECT_EQ(storedDword("000_027"), 4200);
}

TEST_F(ChangeResolutionDialog, CancelKeepsTypedValuesInMemoryOnly) {
    const INT_PTR result = runModalDialog(IDD_CHANGE_RESOLUTION, ChangeResolutionDialogProc,
                                          "Change Resolution", [](HWND d) {
                                              SetDlgItemTextA(d, IDC_RESOLUTION_WIDTH, "1024");
                                              clickControl(d, IDCANCEL);
                                          });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(saverSettings.displayWidth, 1024);
    EXPECT_EQ(storedValueCount(), 0);
}

TEST_F(ChangeResolutionDialog, TemplateMakesAListWithItsOwnEditAndScrollingEdits) {
    open(0, 0, 0);
    const LONG list = GetWindowLongA(GetDlgItem(dialog, IDC_RESOLUTION_LIST), GWL_STYLE);
    EXPECT_EQ(list & 3, CBS_DROPDOWN);
    EXPECT_EQ(list & WS_TABSTOP, WS_TABSTOP);
    EXPECT_EQ(list & CBS_SORT, 0);
    for (int id : {IDC_RESOLUTION_WIDTH, IDC_RESOLUTION_HEIGHT, IDC_RESOLUTION_DEPTH}) {
        HWND edit = GetDlgItem(dialog, id);
        const LONG wanted = ES_AUTOHSCROLL | WS_TABSTOP;
        EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & wanted, wanted) << id;
        // NOTE: an edit turns the template's WS_BORDER into a sunken client edge.
        EXPECT_TRUE((GetWindowLongA(edit, GWL_STYLE) & WS_BORDER) != 0 ||
                    (GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
    }
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & 0xF, BS_PUSHBUTTON);
}

TEST_F(ChangeResolutionDialog, ScreenshotShowsTheTemplate) {
    open(0, 0, 0);
    const Screenshot shot = captureWindow(dialog);
    EXPECT_TRUE(saveScreenshot(shot, "change_resolution_dialog"));
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Change Resolution");
    // 162 by 117 dialog units of client area.
    RECT units = {0, 0, 162, 117};
    MapDialogRect(dialog, &units);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

} // namespace
