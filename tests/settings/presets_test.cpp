#include "settings/presets.h"

#include "common/random.h"
#include "settings/saver_settings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Every field a preset must leave alone holds a value no preset writes.
SaverSettings markedSettings() {
    SaverSettings s{};
    s.keyMarker = 7;
    s.smoothTextureFilter = 7;
    s.textureWidth = 1024;
    s.textureHeight = 128;
    s.displayWidth = 800;
    s.displayHeight = 600;
    s.displayDepth = 16;
    s.useRandomPreset = 7;
    s.showFrameRate = 7;
    s.reservedFlagB = 7;
    std::strcpy(s.customPicturePath, "C:\\pictures\\lake.jpg");
    return s;
}

struct PresetRow {
    int button;
    int maxDrips;
    float minAmplitude, maxAmplitude;
    int sourceTexture, reservedFlagA, smoothTextureFilter;
    float meshX, meshY, rotateZAmplitude, rotateZTime, zoomAmplitude;
};

const PresetRow kExpected[] = {
    {1065, 10, 10, 30, kSourceChomify, 1, 1, 75, 55, 0, 0, 15},
    {1066, 10, 15, 25, kSourceDesktop, 0, 7, 75, 55, 3600, 200, 14},
    {1067, 10, 0, 30, kSourceWhite, 1, 7, 100, 75, 0, 0, 15},
    {1068, 15, 20, 30, kSourceDesktop, 0, 7, 100, 75, 0, 0, 14},
};

TEST(Presets, EachPresetSetsItsTableAndNothingElse) {
    for (const PresetRow& row : kExpected) {
        SCOPED_TRACE(row.button);
        saverSettings = markedSettings();
        ASSERT_TRUE(applyPreset(row.button));
        const SaverSettings& s = saverSettings;
        EXPECT_EQ(s.maxDrips, row.maxDrips);
        EXPECT_EQ(s.minAmplitude, row.minAmplitude);
        EXPECT_EQ(s.maxAmplitude, row.maxAmplitude);
        EXPECT_EQ(s.sourceTexture, row.sourceTexture);
        EXPECT_EQ(s.reservedFlagA, row.reservedFlagA);
        EXPECT_EQ(s.smoothTextureFilter, row.smoothTextureFilter);
        EXPECT_EQ(s.meshX, row.meshX);
        EXPECT_EQ(s.meshY, row.meshY);
        EXPECT_EQ(s.rotateZAmplitude, row.rotateZAmplitude);
        EXPECT_EQ(s.rotateZTime, row.rotateZTime);
        EXPECT_EQ(s.zoomAmplitude, row.zoomAmplitude);
        EXPECT_EQ(s.zoomTime, 0.0f);
        EXPECT_EQ(s.rotateXAmplitude, 0.0f);
        EXPECT_EQ(s.rotateXTime, 0.0f);
        EXPECT_EQ(s.rotateYAmplitude, 0.0f);
        EXPECT_EQ(s.rotateYTime, 0.0f);
        EXPECT_EQ(s.speedScaling, 1.0f);
        EXPECT_EQ(s.enableColor, 1);
        EXPECT_EQ(s.enableMovement, 1);
        EXPECT_EQ(s.minColor.red + s.minColor.green + s.minColor.blue, 0.0f);
        EXPECT_EQ(s.maxColor.red + s.maxColor.green + s.maxColor.blue, 3.0f);

        const SaverSettings marked = markedSettings();
        EXPECT_EQ(s.keyMarker, marked.keyMarker);
        EXPECT_EQ(s.textureWidth, marked.textureWidth);
        EXPECT_EQ(s.textureHeight, marked.textureHeight);
        EXPECT_EQ(s.displayWidth, marked.displayWidth);
        EXPECT_EQ(s.displayHeight, marked.displayHeight);
        EXPECT_EQ(s.displayDepth, marked.displayDepth);
        EXPECT_EQ(s.useRandomPreset, marked.useRandomPreset);
        EXPECT_EQ(s.showFrameRate, marked.showFrameRate);
        EXPECT_EQ(s.reservedFlagB, marked.reservedFlagB);
        EXPECT_STREQ(s.customPicturePath, marked.customPicturePath);
    }
}

TEST(Presets, OtherButtonsChangeNothing) {
    for (int button : {1, 2, 1016, 1024, 1064, 1069, -1065}) {
        saverSettings = markedSettings();
        EXPECT_FALSE(applyPreset(button));
        const SaverSettings marked = markedSettings();
        EXPECT_EQ(std::memcmp(&saverSettings, &marked, sizeof marked), 0) << button;
    }
}

TEST(Presets, RandomPickFollowsTheFirstDrawModuloFour) {
    // First draws: seed 3 -> 0 mod 4, seed 1 -> 41 (1), seed 0 -> 2 mod 4, seed 4 -> 3 mod 4.
    const struct {
        uint32_t seed;
        float meshX;
        float rotateZAmplitude;
        int sourceTexture;
        int maxDrips;
    } cases[] = {{3, 75, 0, kSourceChomify, 10},
                 {1, 75, 3600, kSourceDesktop, 10},
                 {0, 100, 0, kSourceWhite, 10},
                 {4, 100, 0, kSourceDesktop, 15}};
    for (const auto& c : cases) {
        saverSettings = markedSettings();
        crt::srand(c.seed);
        pickRandomPreset();
        EXPECT_EQ(saverSettings.meshX, c.meshX) << c.seed;
        EXPECT_EQ(saverSettings.rotateZAmplitude, c.rotateZAmplitude) << c.seed;
        EXPECT_EQ(saverSettings.sourceTexture, c.sourceTexture) << c.seed;
        EXPECT_EQ(saverSettings.maxDrips, c.maxDrips) << c.seed;
    }
}

TEST(Defaults, SetEveryDefaultAndKeepPathAndDisplayMode) {
    saverSettings = markedSettings();
    applyDefaults();
    const SaverSettings& s = saverSettings;
    EXPECT_EQ(s.keyMarker, 2);
    EXPECT_EQ(s.reservedFlagA, 1);
    EXPECT_EQ(s.smoothTextureFilter, 1);
    EXPECT_EQ(s.textureWidth, 512);
    EXPECT_EQ(s.textureHeight, 256);
    EXPECT_EQ(s.enableMovement, 1);
    EXPECT_EQ(s.maxDrips, 3);
    EXPECT_EQ(s.enableColor, 1);
    EXPECT_EQ(s.useRandomPreset, 0);
    EXPECT_EQ(s.showFrameRate, 0);
    EXPECT_EQ(s.meshX, 80.0f);
    EXPECT_EQ(s.meshY, 60.0f);
    EXPECT_EQ(s.zoomAmplitude, 14.0f);
    EXPECT_EQ(s.zoomTime, 0.0f);
    EXPECT_EQ(s.rotateZAmplitude, 0.0f);
    EXPECT_EQ(s.minAmplitude, 4.0f);
    EXPECT_EQ(s.maxAmplitude, 10.0f);
    EXPECT_EQ(s.maxColor.green, 1.0f);
    EXPECT_EQ(s.minColor.blue, 0.0f);
    EXPECT_EQ(static_cast<double>(s.speedScaling), 0.800000011920929);
    EXPECT_EQ(s.sourceTexture, kSourceChomify);
    EXPECT_EQ(s.reservedFlagB, 1);
    EXPECT_EQ(s.displayWidth, 800);
    EXPECT_EQ(s.displayHeight, 600);
    EXPECT_EQ(s.displayDepth, 16);
    EXPECT_STREQ(s.customPicturePath, "C:\\pictures\\lake.jpg");
}

} // namespace
