// The registry values of the settings: names, fields and encodings, and the bytes each is stored
// as.
#pragma once

#include "settings/saver_settings.h"

#include <cstddef>
#include <cstdint>

enum class ValueEncoding {
    kInteger, // a DWORD holding the field's 32 bits
    kReal,    // a DWORD holding the field times 100, rounded to a whole number
    kPath,    // a string stored as the whole path buffer, terminator and all
};

// A reserved value has no field: it is written as 0, and read and discarded.
constexpr ptrdiff_t kReservedValue = -1;

struct SettingsValue {
    const char* name;
    ValueEncoding encoding;
    ptrdiff_t offset; // of the field within SaverSettings, or kReservedValue
};

constexpr int kSettingsValueCount = 38;

// Every value, in the order both loading and storing visit them. The first is the marker: a
// store without it counts as absent.
extern const SettingsValue kSettingsValues[kSettingsValueCount];

constexpr uint32_t kDwordBytes = 4;

// The most bytes a read of the value accepts: 4 for a DWORD, the path buffer for the path.
uint32_t valueCapacity(const SettingsValue& value);

// A real as stored: value x 100 rounded to the nearest whole number (halves away from zero),
// keeping the low 32 bits of that number however large it is. NaN and infinities store 0.
uint32_t encodeReal(float value);

// A stored real: the 32 bits taken as unsigned, times the single-precision 0.01, rounded to
// single precision once.
float decodeReal(uint32_t stored);

// What a value is written as: four little-endian bytes, or the whole path buffer.
struct ValueData {
    uint8_t bytes[kPathBufferSize];
    uint32_t size;
};

ValueData encodeValue(const SaverSettings& settings, const SettingsValue& value);

// Puts bytes read from the store into the value's field. More bytes than valueCapacity fail,
// leaving the field as it was. Shorter DWORD data is zero-extended; the path always ends up
// zero-terminated, at most kPathBufferSize - 1 characters long.
bool decodeValue(SaverSettings& settings, const SettingsValue& value, const uint8_t* data,
                 uint32_t size);
