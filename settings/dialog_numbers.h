// How the dialogs turn control text into numbers and numbers into control text.
#pragma once

#include <cstdint>

// The leading decimal integer of a text, as atoi reads it: leading white space and one sign
// are accepted, reading stops at the first character that is not a digit, and a text without
// digits gives 0. Unlike atoi, a number beyond the int32 range saturates instead of overflowing.
int32_t parseLeadingInteger(const char* text);

// A real truncated toward zero, saturated to the int32 range (NaN gives 0), so that no stored
// number can make the conversion undefined.
int32_t truncateToInt32(float value);

// A colour channel (0 to 1) times 255, truncated toward zero and reduced to its low 8 bits.
uint8_t colorChannelByte(float channel);

// The single-precision 1/255 that turns an 8-bit channel back into a real.
constexpr float kInverse255 = 1.0f / 255.0f;
