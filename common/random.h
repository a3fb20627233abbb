// The C runtime's random generator, rebuilt so that a seed gives the same drips on every build.
#pragma once

#include <cstdint>

namespace crt {

constexpr int kRandMax = 32767;

// Seeds the calling thread's generator; each thread has its own state.
void srand(uint32_t seed);

// Advances state = state * 214013 + 2531011 (mod 2^32) and returns (state >> 16) & 0x7FFF.
int rand();

} // namespace crt
