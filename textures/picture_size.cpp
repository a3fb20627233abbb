// Choosing the working size of a picture file's source picture.
#include "textures/picture_size.h"

#include <limits>

int32_t nextPowerOfTwoAbove(int32_t size) {
    constexpr int32_t kLargestPower = int32_t{1} << 30;
    if (size >= kLargestPower) {
        return std::numeric_limits<int32_t>::max();
    }
    int32_t power = 2;
    while (power <= size) {
        power *= 2;
    }
    return power;
}

int32_t chooseWorkingSide(int32_t pictureSide, int32_t settingSide) {
    return pictureSide < settingSide ? nextPowerOfTwoAbove(pictureSide) : settingSide;
}
