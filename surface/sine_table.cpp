// Filling the sine table.
#include "surface/sine_table.h"

#include <cmath>

float sineTable[kSineTableSize];

void fillSineTable() {
    for (int i = 0; i < kSineTableSize; ++i) {
        // Computed in double and rounded once, so every build stores the same floats.
        sineTable[i] = static_cast<float>(std::sin(i * 0.125));
    }
}
