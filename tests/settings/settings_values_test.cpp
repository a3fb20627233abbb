#include "settings/settings_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>

namespace {

const SettingsValue* findValue(const char* name) {
    for (const SettingsValue& value : kSettingsValues) {
        if (std::strcmp(value.name, name) == 0) {
            return &value;
        }
    }
    return nullptr;
}

uint32_t storedDword(const ValueData& data) {
    uint32_t stored = 0;
    std::memcpy(&stored, data.bytes, sizeof stored); // both builds are little-endian
    return stored;
}

// A store kept in memory: what saving would write, read back as loading reads it.
using FakeStore = std::map<std::string, ValueData>;

FakeStore storeAll(const SaverSettings& settings) {
    FakeStore store;
    for (const SettingsValue& value : kSettingsValues) {
        store[value.name] = encodeValue(settings, value);
    }
    return store;
}

void loadAll(const FakeStore& store, SaverSettings& settings) {
    for (const SettingsValue& value : kSettingsValues) {
        const ValueData& data = store.at(value.name);
        ASSERT_TRUE(decodeValue(settings, value, data.bytes, data.size)) << value.name;
    }
}

SaverSettings defaultSettings() {
    applyDefaults();
    return saverSettings;
}

TEST(SettingsValues, NamesRunInTheirFixedOrderWithTheirEncodings) {
    const int integers[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 18, 19, 20, 21, 22, 23, 24, 46, 48};
    const int reals[] = {27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
                         37, 38, 39, 40, 41, 42, 43, 44, 45};
    for (int index : integers) {
        const std::string name = "000_0" + std::to_string(index / 10) + std::to_string(index % 10);
        const SettingsValue* value = findValue(name.c_str());
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->encoding, ValueEncoding::kInteger) << name;
    }
    for (int index : reals) {
        const std::string name = "000_0" + std::to_string(index / 10) + std::to_string(index % 10);
        const SettingsValue* value = findValue(name.c_str());
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->encoding, ValueEncoding::kReal) << name;
    }
    ASSERT_NE(findValue("000_047"), nullptr);
    EXPECT_EQ(findValue("000_047")->encoding, ValueEncoding::kPath);
    EXPECT_STREQ(kSettingsValues[0].name, "000_000");
    EXPECT_EQ(kSettingsValues[0].offset,
              static_cast<ptrdiff_t>(offsetof(SaverSettings, keyMarker)));
    for (int i = 1; i < kSettingsValueCount; ++i) {
        EXPECT_LT(std::strcmp(kSettingsValues[i - 1].name, kSettingsValues[i].name), 0) << i;
        EXPECT_EQ(std::strlen(kSettingsValues[i].name), 7u);
    }
}

TEST(SettingsValues, EveryFieldIsStoredExactlyOnce) {
    SaverSettings marked;
    std::memset(&marked, 0, sizeof marked);
    for (const SettingsValue& value : kSettingsValues) {
        if (value.offset == kReservedValue) {
            continue;
        }
        const size_t bytes = value.encoding == ValueEncoding::kPath ? kPathBufferSize : 4;
        for (size_t i = 0; i < bytes; ++i) {
            uint8_t& byte = reinterpret_cast<uint8_t*>(&marked)[value.offset + i];
            EXPECT_EQ(byte, 0) << value.name << " overlaps another value";
            byte = 0xAB;
        }
    }
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&marked);
    for (size_t i = 0; i < sizeof marked; ++i) {
        EXPECT_EQ(bytes[i], 0xAB) << "byte " << i << " of the record is never stored";
    }
}

TEST(SettingsValues, SpeedScalingSurvivesRoundTrip) {
    EXPECT_EQ(encodeReal(0.8f), 80u);
    const float readBack = decodeReal(80);
    EXPECT_EQ(static_cast<double>(readBack), 0.7999999523162842);
    EXPECT_EQ(encodeReal(readBack), 80u);
}

TEST(SettingsValues, RealsEncodeAsHundredths) {
    const struct {
        float value;
        uint32_t stored;
    } cases[] = {
        {0.29f, 29},
        {-1.0f, 0xFFFFFF9Cu}, // -100
        {30.0f, 3000},
        {0.125f, 13},           // a half rounds away from zero
        {-0.125f, 0xFFFFFFF3u}, // -13
        {21474836.0f, 2147483600u},
        {3e9f, 3647256576u}, // past 32 bits: the low 32 bits of 300000000000
        {-3e9f, 647710720u},
        {1e10f, 3567587328u},
        {std::numeric_limits<float>::max(), 0},
        {std::numeric_limits<float>::infinity(), 0},
        {-std::numeric_limits<float>::infinity(), 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeReal(c.value), c.stored) << c.value;
    }
}

TEST(SettingsValues, NegativeRealReadsBackAsLargeUnsigned) {
    EXPECT_EQ(decodeReal(encodeReal(-1.0f)), 42949672.0f);
}

TEST(SettingsValues, WholeNumbersSurviveUnchanged) {
    for (float whole : {0.0f, 1.0f, 4.0f, 10.0f, 14.0f, 15.0f, 30.0f, 60.0f, 75.0f, 80.0f, 100.0f,
                        200.0f, 3600.0f}) {
        EXPECT_EQ(decodeReal(encodeReal(whole)), whole);
    }
}

TEST(SettingsValues, ReadRoundsTheExactProductOnce) {
    // The exact product in extended precision, rounded once to single precision.
    const long double hundredth = 0.01f;
    for (uint64_t stored = 1; stored <= 0xFFFFFFFFu; stored = stored * 3 + 7) {
        const uint32_t bits = static_cast<uint32_t>(stored);
        const float expected = static_cast<float>(static_cast<long double>(bits) * hundredth);
        EXPECT_EQ(decodeReal(bits), expected) << bits;
    }
    EXPECT_EQ(decodeReal(0xFFFFFFFFu),
              static_cast<float>(static_cast<long double>(0xFFFFFFFFu) * hundredth));
}

TEST(SettingsValues, RepeatedSavingAndLoadingNeverChangesAStoredValue) {
    SaverSettings settings = defaultSettings();
    settings.minAmplitude = 0.29f;
    settings.maxAmplitude = 29.99f;
    std::strcpy(settings.customPicturePath, "C:\\pictures\\lake.jpg");
    const FakeStore first = storeAll(settings);
    SaverSettings loaded = {};
    loadAll(first, loaded);
    const FakeStore second = storeAll(loaded);
    for (const SettingsValue& value : kSettingsValues) {
        const ValueData& a = first.at(value.name);
        const ValueData& b = second.at(value.name);
        ASSERT_EQ(a.size, b.size) << value.name;
        EXPECT_EQ(std::memcmp(a.bytes, b.bytes, a.size), 0) << value.name;
    }
    EXPECT_EQ(storedDword(first.at("000_045")), 80u);
    EXPECT_EQ(loaded.meshX, 80.0f);
    EXPECT_EQ(loaded.zoomAmplitude, 14.0f);
    EXPECT_STREQ(loaded.customPicturePath, "C:\\pictures\\lake.jpg");
}

TEST(SettingsValues, ReservedValuesStoreZeroAndReadIntoNothing) {
    SaverSettings settings = defaultSettings();
    const SettingsValue* reserved = findValue("000_021");
    ASSERT_NE(reserved, nullptr);
    EXPECT_EQ(reserved->offset, kReservedValue);
    EXPECT_EQ(storedDword(encodeValue(settings, *reserved)), 0u);
    const SaverSettings before = settings;
    const uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_TRUE(decodeValue(settings, *reserved, data, 4));
    EXPECT_EQ(std::memcmp(&before, &settings, sizeof settings), 0);
}

TEST(SettingsValues, IntegersReadShortDataZeroExtendedAndRejectLongData) {
    SaverSettings settings = defaultSettings();
    const SettingsValue& width = *findValue("000_003");
    const uint8_t twoBytes[] = {0x34, 0x12};
    EXPECT_TRUE(decodeValue(settings, width, twoBytes, 2));
    EXPECT_EQ(settings.textureWidth, 0x1234);
    const uint8_t fiveBytes[] = {0, 1, 0, 0, 0};
    EXPECT_FALSE(decodeValue(settings, width, fiveBytes, 5));
    EXPECT_EQ(settings.textureWidth, 0x1234);
    const uint8_t negative[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(decodeValue(settings, width, negative, 4));
    EXPECT_EQ(settings.textureWidth, -1);
    EXPECT_TRUE(decodeValue(settings, width, nullptr, 0));
    EXPECT_EQ(settings.textureWidth, 0);
}

TEST(SettingsValues, PathIsWrittenAsTheWholeBuffer) {
    SaverSettings settings = defaultSettings();
    std::strcpy(settings.customPicturePath, "C:\\a.bmp");
    const ValueData data = encodeValue(settings, *findValue("000_047"));
    EXPECT_EQ(data.size, static_cast<uint32_t>(kPathBufferSize));
    EXPECT_STREQ(reinterpret_cast<const char*>(data.bytes), "C:\\a.bmp");
}

TEST(SettingsValues, PathReadIsAlwaysTerminated) {
    SaverSettings settings = defaultSettings();
    const SettingsValue& path = *findValue("000_047");

    uint8_t unterminated[kPathBufferSize];
    std::memset(unterminated, 'a', sizeof unterminated);
    EXPECT_TRUE(decodeValue(settings, path, unterminated, kPathBufferSize));
    EXPECT_EQ(std::strlen(settings.customPicturePath), static_cast<size_t>(kPathBufferSize - 1));

    std::strcpy(settings.customPicturePath, "C:\\kept.gif");
    uint8_t tooLong[kPathBufferSize + 1];
    std::memset(tooLong, 'b', sizeof tooLong);
    EXPECT_FALSE(decodeValue(settings, path, tooLong, sizeof tooLong));
    EXPECT_STREQ(settings.customPicturePath, "C:\\kept.gif");

    const char shortPath[] = "D:\\x.jpg"; // no terminator in the data
    EXPECT_TRUE(decodeValue(settings, path, reinterpret_cast<const uint8_t*>(shortPath), 8));
    EXPECT_STREQ(settings.customPicturePath, "D:\\x.jpg");
}

} // namespace
