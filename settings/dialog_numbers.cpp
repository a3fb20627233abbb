// Text-to-number and number-to-byte conversions shared by the dialogs.
#include "settings/dialog_numbers.h"

#include <cctype>
#include <limits>

int32_t parseLeadingInteger(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const unsigned char* c = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*c)) {
        ++c;
    }
    const bool negative = *c == '-';
    if (*c == '-' || *c == '+') {
        ++c;
    }
    // Accumulate in 64 bits and stop growing once past the int32 range.
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    while (std::isdigit(*c)) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (*c - '0');
        }
        ++c;
    }
    if (magnitude > limit) {
        magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t truncateToInt32(float value) {
    if (!(value == value)) {
        return 0;
    }
    // 2^31 is exact in single precision; every float below it truncates into range.
    constexpr float kTwoTo31 = 2147483648.0f;
    if (value >= kTwoTo31) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < -kTwoTo31) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

uint8_t colorChannelByte(float channel) {
    return static_cast<uint8_t>(static_cast<uint32_t>(truncateToInt32(channel * 255.0f)) & 0xFFu);
}
