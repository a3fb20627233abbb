#include "settings/resolution_choice.h"

#include "settings/saver_settings.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kItems = {
    "Current Resolution", "Custom (Enter below)", "1024x768x32",
    "800x600x16",         "800x600x32",           "800x600x16",
};

TEST(ResolutionChoice, ListsOnlyModesDeeperThanEightBits) {
    EXPECT_EQ(modeItemText(1024, 768, 32), "1024x768x32");
    EXPECT_EQ(modeItemText(800, 600, 16), "800x600x16");
    EXPECT_EQ(modeItemText(640, 480, 15), "640x480x15");
    EXPECT_EQ(modeItemText(1024, 768, 9), "1024x768x9");
    EXPECT_EQ(modeItemText(1024, 768, 8), "");
    EXPECT_EQ(modeItemText(640, 480, 4), "");
}

struct SelectionRow {
    int32_t width, height, depth;
    int item;
};

TEST(ResolutionChoice, OpeningSelectsCurrentTheLastEqualModeOrCustom) {
    const SelectionRow rows[] = {
        {0, 0, 0, kCurrentResolutionItem},
        {800, 600, 0, kCurrentResolutionItem},
        {0, 600, 16, kCurrentResolutionItem},
        {800, 600, 16, 5},
        {1024, 768, 32, 2},
        {640, 480, 16, kCustomResolutionItem},
        {1024, 768, 16, kCustomResolutionItem},
    };
    for (const SelectionRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << "x" << row.depth);
        EXPECT_EQ(initialModeItem(row.width, row.height, row.depth, kItems), row.item);
    }
}

TEST(ResolutionChoice, FixedItemsNeverMatchAMode) {
    const std::vector<std::string> onlyFixed = {"800x600x16", "800x600x16"};
    EXPECT_EQ(initialModeItem(800, 600, 16, onlyFixed), kCustomResolutionItem);
}

void setDisplay(int32_t width, int32_t height, int32_t depth) {
    saverSettings.displayWidth = width;
    saverSettings.displayHeight = height;
    saverSettings.displayDepth = depth;
}

void expectDisplay(int32_t width, int32_t height, int32_t depth) {
    EXPECT_EQ(saverSettings.displayWidth, width);
    EXPECT_EQ(saverSettings.displayHeight, height);
    EXPECT_EQ(saverSettings.displayDepth, depth);
}

TEST(ResolutionChoice, CurrentResolutionStoresZeros) {
    setDisplay(800, 600, 0);
    storeModeChoice(kCurrentResolutionItem, "Current Resolution");
    expectDisplay(0, 0, 0);
}

TEST(ResolutionChoice, CustomOrNoSelectionKeepsTheTypedNumbers) {
    setDisplay(1024, 768, 0);
    storeModeChoice(kCustomResolutionItem, "");
    expectDisplay(1024, 768, 0);
    storeModeChoice(-1, "");
    expectDisplay(1024, 768, 0);
}

TEST(ResolutionChoice, ListedModeStoresItsNumbersOverTheTypedOnes) {
    setDisplay(1, 2, 3);
    storeModeChoice(3, "800x600x16");
    expectDisplay(800, 600, 16);
}

TEST(ResolutionChoice, MalformedItemTextStoresOnlyTheNumbersItReads) {
    setDisplay(1, 2, 3);
    storeModeChoice(2, "640x");
    expectDisplay(640, 2, 3);
    storeModeChoice(2, "garbage");
    expectDisplay(640, 2, 3);
    storeModeChoice(2, "99999999999x480x16");
    expectDisplay(2147483647, 480, 16);
}

} // namespace
