// The registry value table and the three encodings, shared by loading, storing and the tests.
#include "settings/settings_values.h"

#include <cmath>
#include <cstring>

#define SETTINGS_FIELD(field) static_cast<ptrdiff_t>(offsetof(SaverSettings, field))

namespace {

constexpr ValueEncoding kInteger = ValueEncoding::kInteger;
constexpr ValueEncoding kReal = ValueEncoding::kReal;
constexpr ValueEncoding kPath = ValueEncoding::kPath;

// 0.01f is exactly kHundredthMantissa / 2^30.
constexpr uint64_t kHundredthMantissa = 10737418;
constexpr int kHundredthExponent = -30;

constexpr double kTwoToThe32 = 4294967296.0;

uint8_t* fieldBytes(SaverSettings& settings, const SettingsValue& value) {
    return reinterpret_cast<uint8_t*>(&settings) + value.offset;
}

const uint8_t* fieldBytes(const SaverSettings& settings, const SettingsValue& value) {
    return reinterpret_cast<const uint8_t*>(&settings) + value.offset;
}

uint32_t readDword(const SaverSettings& settings, const SettingsValue& value) {
    if (value.offset == kReservedValue) {
        return 0;
    }
    if (value.encoding == kReal) {
        float real;
        std::memcpy(&real, fieldBytes(settings, value), sizeof real);
        return encodeReal(real);
    }
    int32_t integer;
    std::memcpy(&integer, fieldBytes(settings, value), sizeof integer);
    return static_cast<uint32_t>(integer);
}

void writeDword(SaverSettings& settings, const SettingsValue& value, uint32_t stored) {
    if (value.offset == kReservedValue) {
        return;
    }
    if (value.encoding == kReal) {
        const float real = decodeReal(stored);
        std::memcpy(fieldBytes(settings, value), &real, sizeof real);
        return;
    }
    const int32_t integer = static_cast<int32_t>(stored);
    std::memcpy(fieldBytes(settings, value), &integer, sizeof integer);
}

} // namespace

const SettingsValue kSettingsValues[kSettingsValueCount] = {
    {"000_000", kInteger, SETTINGS_FIELD(keyMarker)},
    {"000_001", kInteger, SETTINGS_FIELD(reservedFlagA)},
    {"000_002", kInteger, SETTINGS_FIELD(smoothTextureFilter)},
    {"000_003", kInteger, SETTINGS_FIELD(textureWidth)},
    {"000_004", kInteger, SETTINGS_FIELD(textureHeight)},
    {"000_005", kInteger, SETTINGS_FIELD(enableMovement)},
    {"000_006", kInteger, SETTINGS_FIELD(displayWidth)},
    {"000_007", kInteger, SETTINGS_FIELD(displayHeight)},
    {"000_008", kInteger, SETTINGS_FIELD(displayDepth)},
    {"000_018", kInteger, SETTINGS_FIELD(maxDrips)},
    {"000_019", kInteger, SETTINGS_FIELD(enableColor)},
    {"000_020", kInteger, kReservedValue},
    {"000_021", kInteger, kReservedValue},
    {"000_022", kInteger, kReservedValue},
    {"000_023", kInteger, SETTINGS_FIELD(useRandomPreset)},
    {"000_024", kInteger, SETTINGS_FIELD(showFrameRate)},
    {"000_027", kReal, SETTINGS_FIELD(meshX)},
    {"000_028", kReal, SETTINGS_FIELD(meshY)},
    {"000_029", kReal, SETTINGS_FIELD(rotateXAmplitude)},
    {"000_030", kReal, SETTINGS_FIELD(rotateXTime)},
    {"000_031", kReal, SETTINGS_FIELD(rotateYAmplitude)},
    {"000_032", kReal, SETTINGS_FIELD(rotateYTime)},
    {"000_033", kReal, SETTINGS_FIELD(rotateZAmplitude)},
    {"000_034", kReal, SETTINGS_FIELD(rotateZTime)},
    {"000_035", kReal, SETTINGS_FIELD(zoomAmplitude)},
    {"000_036", kReal, SETTINGS_FIELD(zoomTime)},
    {"000_037", kReal, SETTINGS_FIELD(minAmplitude)},
    {"000_038", kReal, SETTINGS_FIELD(maxAmplitude)},
    {"000_039", kReal, SETTINGS_FIELD(minColor.red)},
    {"000_040", kReal, SETTINGS_FIELD(maxColor.red)},
    {"000_041", kReal, SETTINGS_FIELD(minColor.green)},
    {"000_042", kReal, SETTINGS_FIELD(maxColor.green)},
    {"000_043", kReal, SETTINGS_FIELD(minColor.blue)},
    {"000_044", kReal, SETTINGS_FIELD(maxColor.blue)},
    {"000_045", kReal, SETTINGS_FIELD(speedScaling)},
    {"000_046", kInteger, SETTINGS_FIELD(sourceTexture)},
    {"000_047", kPath, SETTINGS_FIELD(customPicturePath)},
    {"000_048", kInteger, SETTINGS_FIELD(reservedFlagB)},
};

#undef SETTINGS_FIELD

uint32_t valueCapacity(const SettingsValue& value) {
    return value.encoding == kPath ? kPathBufferSize : kDwordBytes;
}

uint32_t encodeReal(float value) {
    // A float has 24 significant bits and 100 needs 7, so the product is exact in a double, and
    // so are the rounding and the remainder: nothing overflows whatever a hand-edited store or
    // a negative field hands in.
    const double scaled = std::round(static_cast<double>(value) * 100.0);
    if (!std::isfinite(scaled)) {
        return 0;
    }
    const double lowBits = std::fmod(scaled, kTwoToThe32); // within (-2^32, 2^32)
    return static_cast<uint32_t>(static_cast<int64_t>(lowBits));
}

float decodeReal(uint32_t stored) {
    // The product of a 32-bit and a 24-bit integer is exact in 64 bits; converting it to float
    // is the one rounding, and the power-of-two scale is exact.
    const uint64_t product = static_cast<uint64_t>(stored) * kHundredthMantissa;
    return std::ldexp(static_cast<float>(product), kHundredthExponent);
}

ValueData encodeValue(const SaverSettings& settings, const SettingsValue& value) {
    ValueData data = {};
    if (value.encoding == kPath) {
        std::memcpy(data.bytes, fieldBytes(settings, value), kPathBufferSize);
        data.size = kPathBufferSize;
        return data;
    }
    const uint32_t stored = readDword(settings, value);
    for (uint32_t i = 0; i < kDwordBytes; ++i) {
        data.bytes[i] = static_cast<uint8_t>(stored >> (8 * i));
    }
    data.size = kDwordBytes;
    return data;
}

bool decodeValue(SaverSettings& settings, const SettingsValue& value, const uint8_t* data,
                 uint32_t size) {
    if (size > valueCapacity(value) || (size > 0 && data == nullptr)) {
        return false;
    }
    if (value.encoding == kPath) {
        char path[kPathBufferSize] = {};
        if (size > 0) {
            std::memcpy(path, data, size);
        }
        path[kPathBufferSize - 1] = '\0';
        std::memcpy(fieldBytes(settings, value), path, kPathBufferSize);
        return true;
    }
    uint32_t stored = 0;
    for (uint32_t i = 0; i < size; ++i) {
        stored |= static_cast<uint32_t>(data[i]) << (8 * i);
    }
    writeDword(settings, value, stored);
    return true;
}
