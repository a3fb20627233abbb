#include "settings/dialog_numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct ParseRow {
    const char* text;
    int32_t value;
};

TEST(DialogNumbers, LeadingIntegerReadsAsAtoiDoes) {
    const ParseRow rows[] = {
        {"80", 80},       {"  42", 42}, {"\t-7", -7}, {"+15", 15},
        {"800x600", 800}, {"14.5", 14}, {"", 0},      {"abc", 0},
        {"-", 0},         {"- 5", 0},   {"007", 7},   {"123456789", 123456789},
    };
    for (const ParseRow& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseLeadingInteger(row.text), row.value);
    }
}

TEST(DialogNumbers, LeadingIntegerSaturatesInsteadOfOverflowing) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(parseLeadingInteger("2147483647"), kMax);
    EXPECT_EQ(parseLeadingInteger("2147483648"), kMax);
    EXPECT_EQ(parseLeadingInteger("99999999999999999999999999999999"), kMax);
    EXPECT_EQ(parseLeadingInteger("-2147483648"), kMin);
    EXPECT_EQ(parseLeadingInteger("-99999999999999999999"), kMin);
    EXPECT_EQ(parseLeadingInteger(nullptr), 0);
}

TEST(DialogNumbers, TruncationGoesTowardZeroAndSaturates) {
    EXPECT_EQ(truncateToInt32(14.5f), 14);
    EXPECT_EQ(truncateToInt32(-14.9f), -14);
    EXPECT_EQ(truncateToInt32(42949672.0f), 42949672);
    EXPECT_EQ(truncateToInt32(3e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(truncateToInt32(-3e9f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncateToInt32(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(truncateToInt32(std::numeric_limits<float>::infinity()),
              std::numeric_limits<int32_t>::max());
}

TEST(DialogNumbers, ColorChannelKeepsTheLowEightBitsOfItsTruncatedByte) {
    EXPECT_EQ(colorChannelByte(0.0f), 0);
    EXPECT_EQ(colorChannelByte(1.0f), 255);
    EXPECT_EQ(colorChannelByte(0.5f), 127);
    EXPECT_EQ(colorChannelByte(128 * kInverse255), 128);
    EXPECT_EQ(colorChannelByte(1.5f), 382 & 0xFF);
    EXPECT_EQ(colorChannelByte(-1.0f), static_cast<uint8_t>(-255 & 0xFF));
}

TEST(DialogNumbers, EveryByteSurvivesTheTripThroughARealChannel) {
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(colorChannelByte(static_cast<float>(byte) * kInverse255), byte) << byte;
    }
}

} // namespace
