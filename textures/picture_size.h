// The working size of a picture file's source picture, chosen side by side.
#pragma once

#include <cstdint>

// The smallest power of two strictly greater than size: 2 for any size of 1 or less. When that
// power does not fit in 32 bits the result is INT32_MAX, a side the loader refuses anyway.
int32_t nextPowerOfTwoAbove(int32_t size);

// One side of the working size: the texture size setting, or the power of two just above the
// picture's side when the picture is smaller than the setting.
int32_t chooseWorkingSide(int32_t pictureSide, int32_t settingSide);
