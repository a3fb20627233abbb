#include "common/random.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(Random, SeedOneGivesTheRuntimeLibrarySequence) {
    crt::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) {
        EXPECT_EQ(crt::rand(), value);
    }
}

TEST(Random, ValuesStayWithinFifteenBits) {
    crt::srand(0xDEADBEEF);
    for (int i = 0; i < 100000; ++i) {
        const int value = crt::rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, crt::kRandMax);
    }
}

TEST(Random, EachThreadKeepsItsOwnState) {
    crt::srand(1);
    std::thread other([] {
        crt::srand(99);
        crt::rand();
    });
    other.join();
    EXPECT_EQ(crt::rand(), 41);
}

} // namespace
