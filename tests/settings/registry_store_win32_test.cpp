#include <windows.h>

#include "settings/registry_store.h"
#include "settings/saver_settings.h"
#include "settings/settings_values.h"
#include "support/settings_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A record full of values that neither the defaults nor a store of defaults would hold.
SaverSettings oddSettings() {
    SaverSettings s;
    std::memset(&s, 0x5A, sizeof s);
    s.displayWidth = 800;
    s.displayHeight = 600;
    s.displayDepth = 16;
    std::strcpy(s.customPicturePath, "C:\\pictures\\lake.jpg");
    return s;
}

SaverSettings defaultsOver(const SaverSettings& start) {
    saverSettings = start;
    applyDefaults();
    return saverSettings;
}

void expectSameRecord(const SaverSettings& actual, const SaverSettings& expected) {
    const uint8_t* a = reinterpret_cast<const uint8_t*>(&actual);
    const uint8_t* e = reinterpret_cast<const uint8_t*>(&expected);
    for (size_t i = 0; i < sizeof actual; ++i) {
        EXPECT_EQ(a[i], e[i]) << "record byte " << i;
    }
}

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestSettingsKey); }
    void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestSettingsKey); }

    static HKEY openKey() {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestSettingsKey, 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    static void writeRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = openKey();
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static void writeDword(const char* name, DWORD value) {
        writeRaw(name, REG_DWORD, &value, sizeof value);
    }

    static DWORD readDword(const char* name) {
        DWORD value = 0;
        DWORD size = sizeof value;
        HKEY key = openKey();
        EXPECT_EQ(
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS)
            << name;
        RegCloseKey(key);
        return value;
    }
};

TEST_F(RegistryStore, NoKeyGivesTheDefaults) {
    saverSettings = oddSettings();
    EXPECT_FALSE(loadSettings());
    expectSameRecord(saverSettings, defaultsOver(oddSettings()));
}

TEST_F(RegistryStore, KeyWithoutMarkerGivesTheDefaults) {
    writeDword("000_003", 1024);
    writeDword("000_018", 12);
    saverSettings = oddSettings();
    EXPECT_FALSE(loadSettings());
    expectSameRecord(saverSettings, defaultsOver(oddSettings()));
}

TEST_F(RegistryStore, SaveWritesAllValuesInOrder) {
    saverSettings = defaultsOver(oddSettings());
    saveSettings();

    HKEY key = openKey();
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[64];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            break;
        }
        names.push_back(name);
        const bool isPath = std::strcmp(name, "000_047") == 0;
        EXPECT_EQ(type, isPath ? static_cast<DWORD>(REG_SZ) : static_cast<DWORD>(REG_DWORD))
            << name;
        EXPECT_EQ(size, isPath ? static_cast<DWORD>(kPathBufferSize) : 4u) << name;
    }
    RegCloseKey(key);
    ASSERT_EQ(names.size(), static_cast<size_t>(kSettingsValueCount));
    for (int i = 0; i < kSettingsValueCount; ++i) {
        EXPECT_EQ(names[i], kSettingsValues[i].name);
    }
    EXPECT_EQ(readDword("000_045"), 80u);
    EXPECT_EQ(readDword("000_027"), 8000u);
    EXPECT_EQ(readDword("000_000"), 2u);
    EXPECT_EQ(readDword("000_020"), 0u);
    EXPECT_EQ(readDword("000_006"), 800u);
}

TEST_F(RegistryStore, LoadGivesBackWhatWasSaved) {
    SaverSettings saved = defaultsOver(oddSettings());
    saved.keyMarker = 0;
    saved.maxDrips = 15;
    saved.sourceTexture = kSourceCustom;
    saved.minColor = {0.25f, 0.5f, 0.75f};
    saved.rotateZAmplitude = 3600;
    saved.rotateZTime = 200;
    std::memset(saved.customPicturePath, 0, sizeof saved.customPicturePath);
    std::strcpy(saved.customPicturePath, "C:\\pictures\\other.gif");
    saverSettings = saved;
    saveSettings();

    saverSettings = oddSettings();
    EXPECT_TRUE(loadSettings());
    saved.speedScaling = 0.79999995f;
    expectSameRecord(saverSettings, saved);

    saveSettings();
    EXPECT_EQ(readDword("000_045"), 80u);
}

TEST_F(RegistryStore, NegativeRealIsStoredAsTwosComplementAndReadsBackUnsigned) {
    saverSettings = defaultsOver(oddSettings());
    saverSettings.rotateXAmplitude = -1.0f;
    saveSettings();
    EXPECT_EQ(readDword("000_029"), 0xFFFFFF9Cu);
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(saverSettings.rotateXAmplitude, 42949672.0f);
}

TEST_F(RegistryStore, ShortDataIsZeroExtendedAndLongDataSkipped) {
    writeDword("000_000", 0);
    const BYTE twoBytes[] = {0x34, 0x12};
    writeRaw("000_018", REG_BINARY, twoBytes, sizeof twoBytes);
    const BYTE fiveBytes[] = {0, 4, 0, 0, 0};
    writeRaw("000_003", REG_BINARY, fiveBytes, sizeof fiveBytes);
    writeRaw("000_004", REG_SZ, "12", 3);           // read as its three bytes: '1', '2', 0
    writeRaw("000_046", REG_SZ, "1024", 5);         // too long for a DWORD
    writeRaw("000_037", REG_BINARY, "\x2C\x01", 2); // 300 hundredths

    saverSettings = oddSettings();
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(saverSettings.keyMarker, 0);
    EXPECT_EQ(saverSettings.maxDrips, 0x1234);
    EXPECT_EQ(saverSettings.textureWidth, 512);
    EXPECT_EQ(saverSettings.textureHeight, 0x3231);
    EXPECT_EQ(saverSettings.sourceTexture, kSourceChomify);
    EXPECT_EQ(saverSettings.minAmplitude, 3.0f);
}

TEST_F(RegistryStore, LongMarkerCountsAsNoStore) {
    const BYTE fiveBytes[] = {0, 0, 0, 0, 0};
    writeRaw("000_000", REG_BINARY, fiveBytes, sizeof fiveBytes);
    writeDword("000_018", 12);
    saverSettings = oddSettings();
    EXPECT_FALSE(loadSettings());
    EXPECT_EQ(saverSettings.maxDrips, 3);
}

TEST_F(RegistryStore, MissingValuesKeepTheirDefaultsAndTheDisplayModeItsValue) {
    writeDword("000_000", 0);
    writeDword("000_024", 1);
    saverSettings = oddSettings();
    EXPECT_TRUE(loadSettings());
    const SaverSettings loaded = saverSettings;
    SaverSettings expected = defaultsOver(oddSettings());
    expected.keyMarker = 0;
    expected.showFrameRate = 1;
    expectSameRecord(loaded, expected);
}

TEST_F(RegistryStore, UnterminatedPathIsCutToFitTheBuffer) {
    writeDword("000_000", 0);
    char path[kPathBufferSize];
    std::memset(path, 'a', sizeof path);
    writeRaw("000_047", REG_SZ, path, sizeof path);
    saverSettings = oddSettings();
    EXPECT_TRUE(loadSettings());
    EXPECT_LE(std::strlen(saverSettings.customPicturePath),
              static_cast<size_t>(kPathBufferSize - 1));
    EXPECT_EQ(saverSettings.customPicturePath[0], 'a');
}

TEST_F(RegistryStore, OverlongPathLeavesThePathAsItWas) {
    writeDword("000_000", 0);
    std::string path(400, 'b');
    writeRaw("000_047", REG_SZ, path.c_str(), static_cast<DWORD>(path.size() + 1));
    saverSettings = oddSettings();
    EXPECT_TRUE(loadSettings());
    EXPECT_STREQ(saverSettings.customPicturePath, "C:\\pictures\\lake.jpg");
}

TEST_F(RegistryStore, ExtremeStoredValuesLeaveEveryFieldUsable) {
    for (const SettingsValue& value : kSettingsValues) {
        if (value.encoding == ValueEncoding::kPath) {
            const std::string path(kPathBufferSize, '\xFF');
            writeRaw(value.name, REG_BINARY, path.data(), kPathBufferSize);
        } else {
            writeDword(value.name, 0xFFFFFFFFu);
        }
    }
    saverSettings = oddSettings();
    EXPECT_TRUE(loadSettings());
    const SaverSettings& s = saverSettings;
    for (float real : {s.meshX, s.meshY, s.rotateXAmplitude, s.rotateXTime, s.zoomAmplitude,
                       s.speedScaling, s.minColor.red, s.maxColor.blue}) {
        EXPECT_EQ(real, 42949672.0f); // the largest a store can hold, and finite
    }
    EXPECT_EQ(s.textureWidth, -1);
    EXPECT_EQ(s.maxDrips, -1);
    EXPECT_LE(std::strlen(s.customPicturePath), static_cast<size_t>(kPathBufferSize - 1));
}

} // namespace
