// The inner ripple loop for one row of the grid, four vertices at a time where SSE2 is there.
#pragma once

#include "common/vec3.h"
#include "surface/drips.h"

// Adds the ripples of `rippleCount` drips to a row of `count` vertices. rowTerms[d] holds
// dy * dy - y of drip d for this row. Every vertex takes the drips in slot order with the same
// single-precision operations as the plain loop, so heights and colours match it bit for bit.
// Colours are touched only when `tinted`.
void addRippleRow(const Ripple* ripples, const float* rowTerms, int rippleCount, Vec3* positions,
                  Vec3* colors, int count, bool tinted);

// The plain loop, one vertex and one drip at a time: the path of builds without SSE2.
void addRippleRowScalar(const Ripple* ripples, const float* rowTerms, int rippleCount,
                        Vec3* positions, Vec3* colors, int count, bool tinted);
