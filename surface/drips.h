// Drips and their ripples: every frame's heights and tints are the sum of the living drips'.
#pragma once

#include <cstdint>
#include <memory>

// A larger "Maximum Drips" (only a hand-edited store can hold one) gets no pool at all.
constexpr int kMaxDripSlots = 1000;

struct Drip {
    uint8_t active;
    float x; // ripple centre in the grid's 1024 x 768 frame
    float y;
    float amplitude; // current strength, from the envelope
    float peakAmplitude;
    float age;       // seconds since the spawn
    float lifetime;  // seconds; the drip ends on the first update at which age exceeds it
    float ringScale; // 6 - age up to rounding; widens the rings as the drip ages
    float red;
    float green;
    float blue;
};

// The ripple terms of one active drip for the current frame.
struct Ripple {
    float x;
    float y;
    float base;   // speedScaling * age * 8
    float spread; // ringScale * 0.00002
    float amplitude;
    float redFactor; // colour / peakAmplitude, or 0 for a drip of no strength
    float greenFactor;
    float blueFactor;
};

// Created by the first spawn with the "Maximum Drips" of that moment; never resized.
// Render thread only.
struct DripPool {
    std::unique_ptr<Drip[]> slots;
    int slotCount = 0;
    int activeCount = 0;
    // Scratch for the ripple loop, one entry per slot, allocated with the pool.
    std::unique_ptr<Ripple[]> ripples;
    std::unique_ptr<float[]> rowTerms;
};

extern DripPool dripPool;

// Seconds since program start at the last spawn.
extern float lastDripTime;

// Ages the drips, then recomputes every height and colour of the grid. dt is in seconds.
void updateSurface(float dt);

// Maybe lets a drip fall on this frame: after a half-second pause, one chance in three a frame.
void scheduleDrips();

// Puts a new drip into the slot at activeCount; the drip is lost if that slot is busy.
void spawnDrip(float x, float y, float amplitude, float lifetime, float red, float green,
               float blue);

// Reduces a ripple phase, 8 * (s * spread + base), to a sine-table index: truncated toward zero,
// then taken modulo the table size into 0..size-1. Phases too large for an int are reduced
// exactly in double; NaN and infinities read entry 0.
int rippleIndex(float phase);
