// The fast ripple sum against a plain loop written out here: every height and colour, bit for bit.
#include "surface/ripple_kernel.h"

#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/sine_table.h"
#include "surface/surface_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Truncate toward zero, wrap into the table; NaN and infinities read entry 0. Worked in double,
// where fmod of a whole number is exact, so it holds for every float.
int plainIndex(float phase) {
    if (!std::isfinite(phase)) {
        return 0;
    }
    const double remainder = std::fmod(std::trunc(static_cast<double>(phase)), kSineTableSize);
    return static_cast<int>(remainder < 0 ? remainder + kSineTableSize : remainder);
}

struct Heights {
    std::vector<float> z;
    std::vector<Vec3> colors;
};

// The ripples of the pool's active drips as the plain loop adds them: drip by drip in slot
// order, each over the whole grid, rows outer and columns inner.
Heights plainRipples() {
    const SurfaceGrid& grid = surfaceGrid;
    Heights out{std::vector<float>(grid.vertexCount, 0.0f),
                std::vector<Vec3>(grid.vertexCount, Vec3{1.0f, 1.0f, 1.0f})};
    const bool tinted = saverSettings.enableColor != 0;
    for (int slot = 0; slot < dripPool.slotCount; ++slot) {
        const Drip& drip = dripPool.slots[slot];
        if (!drip.active) {
            continue;
        }
        const float base = saverSettings.speedScaling * drip.age * 8.0f;
        const float spread = drip.ringScale * 0.00002f;
        const bool strong = drip.peakAmplitude != 0.0f;
        const float kr = strong ? drip.red / drip.peakAmplitude : 0.0f;
        const float kg = strong ? drip.green / drip.peakAmplitude : 0.0f;
        const float kb = strong ? drip.blue / drip.peakAmplitude : 0.0f;
        for (int j = 0; j < grid.rows; ++j) {
            for (int i = 0; i < grid.columns; ++i) {
                const int v = j * grid.columns + i;
                const float dx = grid.positions[v].x - drip.x;
                const float dy = grid.positions[v].y - drip.y;
                const float s = (dy * dy - drip.y) + (dx * dx - drip.x);
                const float w = sineTable[plainIndex(8.0f * (s * spread + base))] * drip.amplitude;
                if (tinted) {
                    Vec3& c = out.colors[v];
                    c.x = c.x - (w * c.x) * kr;
                    c.y = c.y - (w * c.y) * kg;
                    c.z = c.z - (w * c.z) * kb;
                }
                out.z[v] += w;
            }
        }
    }
    return out;
}

class RandomDrips {
public:
    explicit RandomDrips(uint32_t seed) : engine_(seed) {}
    // Uniform in [low, high).
    float between(float low, float high) {
        return low + (high - low) * static_cast<float>(engine_() >> 8) * 0x1p-24f;
    }
    // A full pool of drips of every age, some past their lifetime, one in five of no strength.
    void fillPool(int slots) {
        for (int d = 0; d < slots; ++d) {
            const float lifetime = between(3.0f, 7.0f);
            const float peak = d % 5 == 4 ? 0.0f : between(-10.0f, 10.0f);
            spawnDrip(between(0, 1024), between(0, 768), peak, lifetime, between(-0.5f, 1.5f),
                      between(0, 1), between(0, 1));
            Drip& drip = dripPool.slots[d];
            drip.age = between(0.0f, lifetime + 0.5f);
            drip.ringScale = 6.0f - drip.age + between(-0.01f, 0.01f);
        }
    }

private:
    std::mt19937 engine_;
};

struct UpdateCase {
    int columns;
    int rows;
    int drips;
    float speedScaling;
};

// Grids that do not fill whole groups of vertices, and Speed Scalings from the dialog's range
// out to phases past 2^22, past an int, and past a float.
const UpdateCase kUpdateCases[] = {
    {83, 61, 15, 0.8f},  {83, 61, 15, 3.0f}, {83, 61, 23, 0.1f}, {1, 1, 15, 0.8f},
    {3, 7, 15, 1.0f},    {80, 60, 15, 0.8f}, {131, 5, 4, 2.5f},  {83, 61, 15, -2.5f},
    {29, 13, 15, 40.0f}, {29, 13, 15, 5000}, {29, 13, 15, 3e6f}, {29, 13, 15, 1e8f},
    {29, 13, 15, 3e38f}, {17, 3, 1, 0.8f},
};

TEST(RippleKernel, UpdateMatchesThePlainLoopBitForBit) {
    fillSineTable();
    uint32_t seed = 1;
    for (const UpdateCase& c : kUpdateCases) {
        for (int color : {1, 0}) {
            applyDefaults();
            saverSettings.meshX = static_cast<float>(c.columns);
            saverSettings.meshY = static_cast<float>(c.rows);
            saverSettings.maxDrips = c.drips;
            saverSettings.speedScaling = c.speedScaling;
            saverSettings.enableColor = color;
            buildSurfaceGrid();
            dripPool = DripPool();
            RandomDrips random(seed++);
            random.fillPool(c.drips);

            updateSurface(random.between(0.0f, 0.05f));
            const Heights plain = plainRipples();
            const SurfaceGrid& grid = surfaceGrid;
            ASSERT_EQ(grid.vertexCount, c.columns * c.rows);
            for (int v = 0; v < grid.vertexCount; ++v) {
                SCOPED_TRACE(::testing::Message()
                             << c.columns << " x " << c.rows << ", speed " << c.speedScaling
                             << ", colour " << color << ", vertex " << v);
                ASSERT_EQ(bitsOf(grid.positions[v].z), bitsOf(plain.z[v]));
                ASSERT_EQ(bitsOf(grid.colors[v].x), bitsOf(plain.colors[v].x));
                ASSERT_EQ(bitsOf(grid.colors[v].y), bitsOf(plain.colors[v].y));
                ASSERT_EQ(bitsOf(grid.colors[v].z), bitsOf(plain.colors[v].z));
            }
        }
    }
}

// A row where every vertex sees the phase `phase`: the drip sits at x 0 with no spread, so the
// phase is 8 * base, exactly.
Ripple flatRipple(float phase) {
    return {0.0f, 0.0f, phase / 8.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
}

// With entry i holding i, each height is the index the vertex read.
void runRow(decltype(&addRippleRow) kernel, float phase, int count) {
    std::vector<Vec3> positions(count);
    std::vector<Vec3> colors(count, Vec3{1.0f, 1.0f, 1.0f});
    for (int i = 0; i < count; ++i) {
        positions[i] = {static_cast<float>(i), 0.0f, 0.0f};
    }
    const Ripple ripple = flatRipple(phase);
    const float rowTerm = 0.0f;
    kernel(&ripple, &rowTerm, 1, positions.data(), colors.data(), count, false);
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(positions[i].z, static_cast<float>(plainIndex(phase)))
            << "phase " << phase << ", vertex " << i;
    }
}

TEST(RippleKernel, IndexWrapsLikeThePlainLoopNextToEveryMultipleOfTheTable) {
    for (int i = 0; i < kSineTableSize; ++i) {
        sineTable[i] = static_cast<float>(i);
    }
    for (auto kernel : {&addRippleRow, &addRippleRowScalar}) {
        // Out to 2^22 and a little past, where the fast reduction hands over.
        for (int multiple = -1460; multiple <= 1460; ++multiple) {
            const float edge = static_cast<float>(multiple * kSineTableSize);
            for (float offset : {-1.0f, -0.5f, 0.0f, 0.5f, 1.0f}) {
                runRow(kernel, edge + offset, 9);
            }
        }
        for (float phase : {-2880.5f, -2881.0f, 5759.5f, 5760.0f, 8639.0f, 2147483520.0f,
                            -2147483648.0f, 3e9f, -3e9f, 1e30f, INFINITY, -INFINITY, NAN}) {
            runRow(kernel, phase, 9);
        }
    }
    fillSineTable();
}

TEST(RippleKernel, ShortRowsLeaveTheirNeighboursAlone) {
    fillSineTable();
    const Ripple ripple = {10.0f, 20.0f, 3.0f, 0.0001f, 2.0f, 0.5f, 0.25f, 1.0f};
    const float rowTerm = 100.0f;
    for (int count : {1, 3, 4, 5, 127, 129}) {
        std::vector<Vec3> positions(count + 8, Vec3{7.0f, 7.0f, 7.0f});
        std::vector<Vec3> colors(count + 8, Vec3{9.0f, 9.0f, 9.0f});
        addRippleRow(&ripple, &rowTerm, 1, positions.data(), colors.data(), count, true);
        for (int i = count; i < count + 8; ++i) {
            EXPECT_EQ(positions[i].z, 7.0f) << count;
            EXPECT_EQ(colors[i].x, 9.0f) << count;
        }
    }
}

} // namespace
