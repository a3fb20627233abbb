#include "surface/drips.h"

#include "common/random.h"
#include "settings/saver_settings.h"
#include "surface/sine_table.h"
#include "surface/surface_grid.h"

#include "support/scene_settings.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

class Drips : public ::testing::Test {
protected:
    void SetUp() override {
        applyDefaults();
        fillSineTable();
        dripPool = DripPool();
        lastDripTime = 0.0f;
        buildGrid(80, 60);
    }
    void TearDown() override { fillSineTable(); }

    // A pool with one drip of the given lifetime and peak, its age set directly.
    static Drip& dripAged(float age, float lifetime, float peak) {
        dripPool = DripPool();
        spawnDrip(512, 384, peak, lifetime, 1, 1, 1);
        Drip& drip = dripPool.slots[0];
        drip.age = age;
        drip.ringScale = 6.0f - age;
        updateSurface(0.0f);
        return drip;
    }
};

TEST_F(Drips, SineTableHoldsEighthsOfARadian) {
    EXPECT_EQ(sineTable[0], 0.0f);
    EXPECT_FLOAT_EQ(sineTable[8], static_cast<float>(std::sin(1.0)));
    EXPECT_FLOAT_EQ(sineTable[71], static_cast<float>(std::sin(8.875)));
    EXPECT_FLOAT_EQ(sineTable[2879], static_cast<float>(std::sin(359.875)));
}

TEST_F(Drips, SineTableIsTheSameOnEveryBuild) {
    // FNV-1a over the table's bits; both builds run this test, so both hold the same table.
    uint32_t hash = 2166136261u;
    for (float entry : sineTable) {
        uint32_t bits;
        std::memcpy(&bits, &entry, sizeof bits);
        hash = (hash ^ bits) * 16777619u;
    }
    EXPECT_EQ(hash, 3461893477u);
}

TEST_F(Drips, EnvelopeRisesHoldsAndFalls) {
    EXPECT_FLOAT_EQ(dripAged(1.0f, 4, 10).amplitude, 5.0f);
    EXPECT_FLOAT_EQ(dripAged(2.0f, 4, 10).amplitude, 10.0f);
    EXPECT_FLOAT_EQ(dripAged(2.4f, 4, 10).amplitude, 10.0f);
    EXPECT_NEAR(dripAged(3.2f, 4, 10).amplitude, 5.0f, 1e-5f);
    EXPECT_NEAR(dripAged(4.0f, 4, 10).amplitude, 0.0f, 1e-5f);
    EXPECT_TRUE(dripPool.slots[0].active);
    EXPECT_EQ(dripPool.activeCount, 1);
}

TEST_F(Drips, DripEndsOnTheFirstUpdatePastItsLifetime) {
    dripAged(3.5f, 4, 10);
    updateSurface(0.5f);
    EXPECT_TRUE(dripPool.slots[0].active);
    updateSurface(0.001f);
    EXPECT_FALSE(dripPool.slots[0].active);
    EXPECT_EQ(dripPool.activeCount, 0);
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        ASSERT_EQ(surfaceGrid.positions[v].z, 0.0f);
    }
}

TEST_F(Drips, WorkedRippleIndex) {
    // Columns 4 units apart and rows 384 apart put a vertex at (612, 384).
    buildGrid(256, 2);
    saverSettings.speedScaling = 1.0f;
    saverSettings.enableColor = 0;
    spawnDrip(512, 384, 2.0f, 1.8f, 1, 1, 1);
    Drip& drip = dripPool.slots[0];
    drip.age = 1.0f;
    drip.ringScale = 5.0f;
    updateSurface(0.0f); // age 1 lies in the hold of a 1.8-second drip
    const int vertex = 1 * 256 + 153;
    ASSERT_EQ(surfaceGrid.positions[vertex].x, 612.0f);
    ASSERT_EQ(surfaceGrid.positions[vertex].y, 384.0f);
    EXPECT_EQ(surfaceGrid.positions[vertex].z, sineTable[71] * 2.0f);
    EXPECT_NEAR(surfaceGrid.positions[vertex].z, 0.5225f * 2.0f, 0.001f);
}

TEST_F(Drips, IndexWrapsIntoTheTable) {
    EXPECT_EQ(rippleIndex(-1.0f), 2879);
    EXPECT_EQ(rippleIndex(2880.0f), 0);
    EXPECT_EQ(rippleIndex(2879.9f), 2879);
    EXPECT_EQ(rippleIndex(-0.9f), 0);
    EXPECT_EQ(rippleIndex(71.28f), 71);
    EXPECT_EQ(rippleIndex(-2881.0f), 2879);
    EXPECT_EQ(rippleIndex(2147483520.0f), 2147483520 % 2880);
}

TEST_F(Drips, HugePhasesAreReducedExactly) {
    EXPECT_EQ(rippleIndex(2147483648.0f), static_cast<int>(2147483648ull % 2880));
    EXPECT_EQ(rippleIndex(1e10f), static_cast<int>(static_cast<long long>(1e10f) % 2880));
    EXPECT_EQ(rippleIndex(-1e10f),
              static_cast<int>(2880 - static_cast<long long>(1e10f) % 2880) % 2880);
    EXPECT_EQ(rippleIndex(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(rippleIndex(-std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(rippleIndex(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(rippleIndex(std::numeric_limits<float>::max()),
              static_cast<int>(std::fmod(static_cast<double>(FLT_MAX), 2880.0)));
}

TEST_F(Drips, HugeSpeedScalingStillDrawsAFrame) {
    saverSettings.speedScaling = 3e38f;
    spawnDrip(100, 100, 5, 5, 1, 1, 1);
    updateSurface(2.0f);
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        ASSERT_TRUE(std::isfinite(surfaceGrid.positions[v].z));
    }
}

TEST_F(Drips, ExpiredSlotLosesTheNextSpawn) {
    spawnDrip(100, 100, 5, 1.0f, 1, 1, 1);
    spawnDrip(200, 200, 5, 10.0f, 1, 1, 1);
    ASSERT_EQ(dripPool.activeCount, 2);
    updateSurface(1.5f);
    EXPECT_FALSE(dripPool.slots[0].active);
    EXPECT_EQ(dripPool.activeCount, 1);

    spawnDrip(300, 300, 5, 5.0f, 1, 1, 1);
    EXPECT_EQ(dripPool.activeCount, 1);
    EXPECT_FALSE(dripPool.slots[0].active);
    EXPECT_EQ(dripPool.slots[1].x, 200.0f);
}

TEST_F(Drips, FullPoolTakesNoMoreDrips) {
    saverSettings.maxDrips = 2;
    for (int i = 0; i < 5; ++i) {
        spawnDrip(100, 100, 5, 5, 1, 1, 1);
    }
    EXPECT_EQ(dripPool.slotCount, 2);
    EXPECT_EQ(dripPool.activeCount, 2);
}

TEST_F(Drips, NoSlotsMeansAFlatWhiteSurface) {
    for (int maxDrips : {0, -5, kMaxDripSlots + 1, 2147483647}) {
        dripPool = DripPool();
        saverSettings.maxDrips = maxDrips;
        lastDripTime = -1000.0f;
        crt::srand(2024);
        for (int frame = 0; frame < 50; ++frame) {
            scheduleDrips();
            updateSurface(0.02f);
        }
        EXPECT_FALSE(dripPool.slots) << maxDrips;
        EXPECT_EQ(dripPool.activeCount, 0);
        for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
            ASSERT_EQ(surfaceGrid.positions[v].z, 0.0f);
            ASSERT_EQ(surfaceGrid.colors[v].x, 1.0f);
        }
    }
}

TEST_F(Drips, ColourTintDoublesAChannelWhereTheRippleIsMinusThePeak) {
    for (float& entry : sineTable) {
        entry = -1.0f; // every vertex sees w = -peak
    }
    spawnDrip(512, 384, 3.0f, 1.8f, 1.0f, 0.0f, 0.5f);
    dripPool.slots[0].age = 1.0f;
    updateSurface(0.0f);
    const Vec3& color = surfaceGrid.colors[1234];
    EXPECT_EQ(color.x, 2.0f);
    EXPECT_EQ(color.y, 1.0f);
    EXPECT_EQ(color.z, 1.5f);
    EXPECT_EQ(surfaceGrid.positions[1234].z, -3.0f);
}

TEST_F(Drips, ColourOffLeavesTheSurfaceWhite) {
    saverSettings.enableColor = 0;
    spawnDrip(512, 384, 3.0f, 1.8f, 1.0f, 0.0f, 0.5f);
    updateSurface(1.0f);
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        ASSERT_EQ(surfaceGrid.colors[v].x, 1.0f);
        ASSERT_EQ(surfaceGrid.colors[v].y, 1.0f);
    }
}

TEST_F(Drips, DripOfNoStrengthChangesNothing) {
    spawnDrip(512, 384, 0.0f, 5.0f, 1.0f, 1.0f, 1.0f);
    updateSurface(1.0f);
    for (int v = 0; v < surfaceGrid.vertexCount; ++v) {
        ASSERT_EQ(surfaceGrid.positions[v].z, 0.0f);
        ASSERT_EQ(surfaceGrid.colors[v].z, 1.0f);
    }
}

TEST_F(Drips, FixedSeedGivesTheSameDrip) {
    crt::srand(1);
    lastDripTime = -10.0f;
    for (int frame = 1; frame <= 6; ++frame) {
        scheduleDrips();
        ASSERT_FALSE(dripPool.slots && dripPool.activeCount) << "frame " << frame;
    }
    scheduleDrips(); // the seventh draw of seed 1 is the first multiple of three
    ASSERT_EQ(dripPool.activeCount, 1);
    const Drip& drip = dripPool.slots[0];
    EXPECT_EQ(drip.x, 727.53125f);
    EXPECT_EQ(drip.y, 659.6484375f);
    EXPECT_EQ(drip.peakAmplitude, 5.04461669921875f);
    EXPECT_EQ(drip.amplitude, 5.04461669921875f);
    EXPECT_EQ(drip.lifetime, 5.986328125f);
    EXPECT_EQ(drip.red, 0.82281494140625f);
    EXPECT_EQ(drip.green, 0.89593505859375f);
    EXPECT_EQ(drip.blue, 0.513519287109375f);
    EXPECT_EQ(drip.age, 0.0f);
    EXPECT_EQ(drip.ringScale, 6.0f);
    EXPECT_GT(lastDripTime, -10.0f);

    scheduleDrips(); // within half a second of the spawn nothing falls
    EXPECT_EQ(dripPool.activeCount, 1);
}

TEST_F(Drips, SeveralDripsAddUpInSlotOrder) {
    spawnDrip(300, 200, 4, 5, 1, 0, 0);
    spawnDrip(700, 500, 6, 5, 0, 1, 0);
    updateSurface(1.0f);
    const Vec3 both = surfaceGrid.positions[2000];

    dripPool = DripPool();
    spawnDrip(300, 200, 4, 5, 1, 0, 0);
    updateSurface(1.0f);
    const float first = surfaceGrid.positions[2000].z;
    dripPool = DripPool();
    spawnDrip(700, 500, 6, 5, 0, 1, 0);
    updateSurface(1.0f);
    const float second = surfaceGrid.positions[2000].z;
    EXPECT_EQ(both.z, (0.0f + first) + second);
    EXPECT_NE(first, 0.0f);
}

} // namespace
