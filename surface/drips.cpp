// The drip pool, the envelope of each drip, and the per-frame sum of ripples.
#include "surface/drips.h"

#include "common/clock.h"
#include "common/random.h"
#include "settings/saver_settings.h"
#include "surface/ripple_kernel.h"
#include "surface/sine_table.h"
#include "surface/surface_grid.h"

#include <cmath>
#include <new>

DripPool dripPool;
float lastDripTime = 0.0f;

namespace {

constexpr float kRandomScale = 0.000030517578125f; // 2^-15
constexpr float kLifetimeScale = 0.0001220703125f; // 2^-13
constexpr float kHeightScale = 0.0234375f;         // 768 / 32768
constexpr float kWidthScale = 0.03125f;            // 1024 / 32768
constexpr float kSpreadPerRingScale = 0.00002f;

bool createPool(int slotCount) {
    if (slotCount <= 0 || slotCount > kMaxDripSlots) {
        return false;
    }
    DripPool pool;
    pool.slots.reset(new (std::nothrow) Drip[slotCount]);
    pool.ripples.reset(new (std::nothrow) Ripple[slotCount]);
    pool.rowTerms.reset(new (std::nothrow) float[slotCount]);
    if (!pool.slots || !pool.ripples || !pool.rowTerms) {
        return false;
    }
    for (int i = 0; i < slotCount; ++i) {
        pool.slots[i] = {0, 512, 384, 1, 1, 0, 5, 6, 1, 1, 1};
    }
    pool.slotCount = slotCount;
    dripPool = std::move(pool);
    return true;
}

float envelope(const Drip& drip) {
    const float lifetime = drip.lifetime;
    if (0.5f * lifetime > drip.age) {
        return drip.age / (0.5f * lifetime) * drip.peakAmplitude;
    }
    if (drip.age <= 0.6f * lifetime) {
        return drip.peakAmplitude;
    }
    return (1.0f - (drip.age - 0.6f * lifetime) / (0.4f * lifetime)) * drip.peakAmplitude;
}

void ageDrips(float dt) {
    for (int slot = 0; slot < dripPool.slotCount; ++slot) {
        Drip& drip = dripPool.slots[slot];
        if (!drip.active) {
            continue;
        }
        drip.ringScale -= dt;
        drip.age += dt;
        drip.amplitude = envelope(drip);
        if (drip.age > drip.lifetime) {
            drip.active = 0;
            --dripPool.activeCount;
        }
    }
}

// Collects the ripple terms of the drips still active, in slot order.
int gatherRipples() {
    const bool tinted = saverSettings.enableColor != 0;
    int count = 0;
    for (int slot = 0; slot < dripPool.slotCount; ++slot) {
        const Drip& drip = dripPool.slots[slot];
        if (!drip.active) {
            continue;
        }
        Ripple& ripple = dripPool.ripples[count++];
        ripple.x = drip.x;
        ripple.y = drip.y;
        ripple.base = saverSettings.speedScaling * drip.age * 8.0f;
        ripple.spread = drip.ringScale * kSpreadPerRingScale;
        ripple.amplitude = drip.amplitude;
        const bool strong = tinted && drip.peakAmplitude != 0.0f;
        ripple.redFactor = strong ? drip.red / drip.peakAmplitude : 0.0f;
        ripple.greenFactor = strong ? drip.green / drip.peakAmplitude : 0.0f;
        ripple.blueFactor = strong ? drip.blue / drip.peakAmplitude : 0.0f;
    }
    return count;
}

// The row term of each drip is shared by the whole row; the row kernel adds the rest.
void addRipples(int rippleCount) {
    SurfaceGrid& grid = surfaceGrid;
    const Ripple* ripples = dripPool.ripples.get();
    float* rowTerms = dripPool.rowTerms.get();
    const bool tinted = saverSettings.enableColor != 0;

    for (int j = 0; j < grid.rows; ++j) {
        Vec3* positions = &grid.positions[j * grid.columns];
        Vec3* colors = &grid.colors[j * grid.columns];
        const float py = positions[0].y;
        for (int d = 0; d < rippleCount; ++d) {
            const float dy = py - ripples[d].y;
            // The drip's own x and y are subtracted on purpose: the ring pattern depends on it.
            rowTerms[d] = dy * dy - ripples[d].y;
        }
        addRippleRow(ripples, rowTerms, rippleCount, positions, colors, grid.columns, tinted);
    }
}

float secondsSinceStart() {
    return static_cast<float>((readClockMs() - startTimeMs) * 0.001);
}

float randomBetween(float low, float high) {
    return static_cast<float>(crt::rand()) * (high - low) * kRandomScale + low;
}

} // namespace

int rippleIndex(float phase) {
    if (std::fabs(phase) < 2147483648.0f) {
        const int index = static_cast<int>(phase) % kSineTableSize;
        return index < 0 ? index + kSineTableSize : index;
    }
    if (!std::isfinite(phase)) {
        return 0;
    }
    // A float this large is a whole number, and fmod of it is exact.
    const double index = std::fmod(static_cast<double>(phase), kSineTableSize);
    return static_cast<int>(index < 0 ? index + kSineTableSize : index);
}

void updateSurface(float dt) {
    ageDrips(dt);
    resetSurface();
    addRipples(gatherRipples());
}

void scheduleDrips() {
    const double elapsed = (readClockMs() - startTimeMs) * 0.001;
    if (!(elapsed > static_cast<double>(lastDripTime) + 0.5)) {
        return;
    }
    if (crt::rand() % 3 != 0) {
        return;
    }
    lastDripTime = secondsSinceStart();

    const SaverSettings& s = saverSettings;
    // The order of the draws is part of the behaviour: a seed gives the same drips everywhere.
    const float green = randomBetween(s.minColor.green, s.maxColor.green);
    const float red = randomBetween(s.minColor.red, s.maxColor.red);
    const float lifetime = static_cast<float>(crt::rand()) * kLifetimeScale + 3.0f;
    const float amplitude = randomBetween(s.minAmplitude, s.maxAmplitude);
    const float y = static_cast<float>(crt::rand()) * kHeightScale;
    const float x = static_cast<float>(crt::rand()) * kWidthScale;
    const float blue = randomBetween(s.minColor.blue, s.maxColor.blue);
    spawnDrip(x, y, amplitude, lifetime, red, green, blue);
}

void spawnDrip(float x, float y, float amplitude, float lifetime, float red, float green,
               float blue) {
    if (!dripPool.slots && !createPool(saverSettings.maxDrips)) {
        return;
    }
    if (dripPool.activeCount >= dripPool.slotCount) {
        return;
    }
    Drip& drip = dripPool.slots[dripPool.activeCount];
    if (drip.active) {
        return; // no other slot is searched: the drip is lost
    }
    drip = {1, x, y, amplitude, amplitude, 0.0f, lifetime, 6.0f, red, green, blue};
    ++dripPool.activeCount;
}
