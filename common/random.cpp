// One generator state per thread, as the runtime library keeps it.
#include "common/random.h"

namespace {
// The runtime library starts an unseeded generator as if seeded with 1.
thread_local uint32_t randomState = 1;
} // namespace

namespace crt {

void srand(uint32_t seed) {
    randomState = seed;
}

int rand() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

} // namespace crt
