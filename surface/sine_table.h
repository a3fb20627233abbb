// The sine table that spares the ripple loop any trigonometric call.
#pragma once

constexpr int kSineTableSize = 2880;

// Entry i holds sin(i / 8 radian). It covers 360 radians, not a whole number of periods, so the
// wrap from the last entry to the first is not smooth; the ripples rely on exactly this table.
extern float sineTable[kSineTableSize];

// Filled once by the render thread before the scene is set up; only read afterwards.
void fillSineTable();
