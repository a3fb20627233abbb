// The inner ripple loop for one row of the grid, four vertices at a time where SSE2 is there.
#include "surface/ripple_kernel.h"

#include "surface/sine_table.h"

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

void addRippleRowScalar(const Ripple* ripples, const float* rowTerms, int rippleCount,
                        Vec3* positions, Vec3* colors, int count, bool tinted) {
    for (int i = 0; i < count; ++i) {
        const float px = positions[i].x;
        float z = positions[i].z;
        Vec3 color = colors[i];
        for (int d = 0; d < rippleCount; ++d) {
            const Ripple& r = ripples[d];
            const float dx = px - r.x;
            // The drip's own x and y are subtracted on purpose: the ring pattern depends on it.
            const float s = rowTerms[d] + (dx * dx - r.x);
            const float w = sineTable[rippleIndex(8.0f * (s * r.spread + r.base))] * r.amplitude;
            if (tinted) {
                color.x = color.x - (w * color.x) * r.redFactor;
                color.y = color.y - (w * color.y) * r.greenFactor;
                color.z = color.z - (w * color.z) * r.blueFactor;
            }
            z += w;
        }
        positions[i].z = z;
        colors[i] = color;
    }
}

#ifndef __SSE2__

void addRippleRow(const Ripple* ripples, const float* rowTerms, int rippleCount, Vec3* positions,
                  Vec3* colors, int count, bool tinted) {
    addRippleRowScalar(ripples, rowTerms, rippleCount, positions, colors, count, tinted);
}

#else

namespace {

// Vertices per pass, a multiple of 8. A pass copies its vertices into separate arrays of x, z
// and each colour channel, small enough to stay in the L1 cache while every drip runs over
// them. With the drips in the outer loop no vertex waits on the sum of the group before it.
constexpr int kChunkSize = 128;

// Drips whose indices are worked out before any of them is added, so that each group of
// vertices is loaded and stored once for all of them.
constexpr int kDripBatch = 4;

// The phases of sane settings are near: they truncate to -size..2*size-1, where at most one wrap
// gives the index. Far phases, up to kFarPhaseLimit, need a division, which is exact in single
// precision there. Larger ones come only from absurd Speed Scalings and go through rippleIndex
// one vertex at a time.
constexpr float kFarPhaseLimit = 4194304.0f; // 2^22

struct Chunk {
    float x[kChunkSize];
    float z[kChunkSize];
    float red[kChunkSize];
    float green[kChunkSize];
    float blue[kChunkSize];
};

// One drip's terms of the phase, 8 * (s * spread + base), in every lane.
struct PhaseTerms {
    __m128 dripX;
    __m128 rowTerm; // dy * dy - y
    __m128 spread;
    __m128 base;
};

// The phases of four vertices, with the operations of the plain loop in its order.
inline __m128 phasesAt(const PhaseTerms& p, const float* x) {
    const __m128 dx = _mm_sub_ps(_mm_loadu_ps(x), p.dripX);
    const __m128 s = _mm_add_ps(p.rowTerm, _mm_sub_ps(_mm_mul_ps(dx, dx), p.dripX));
    return _mm_mul_ps(_mm_set1_ps(8.0f), _mm_add_ps(_mm_mul_ps(s, p.spread), p.base));
}

// Indices fit in 16 bits, so one register carries those of eight vertices.
inline void storeIndices(int16_t* indices, __m128i index) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(indices), index);
}

// The chunk's indices when every phase is near; false otherwise, with the indices unfinished.
bool nearIndices(const PhaseTerms& p, const Chunk& chunk, int count, int16_t* indices) {
    const __m128i size = _mm_set1_epi16(kSineTableSize);
    const __m128i last = _mm_set1_epi16(kSineTableSize - 1);
    __m128i outside = _mm_setzero_si128();
    for (int i = 0; i < count; i += 8) {
        // Packing saturates a truncated phase past 16 bits; NaN and phases past an int truncate
        // to the lowest int. Either way the lane stays outside the table after the wrap below.
        __m128i index = _mm_packs_epi32(_mm_cvttps_epi32(phasesAt(p, &chunk.x[i])),
                                        _mm_cvttps_epi32(phasesAt(p, &chunk.x[i + 4])));
        index = _mm_add_epi16(index, _mm_and_si128(_mm_srai_epi16(index, 15), size));
        index = _mm_sub_epi16(index, _mm_and_si128(_mm_cmpgt_epi16(index, last), size));
        // A lane outside 0..size-1 has the sign bit set in the index or in last - index.
        outside = _mm_or_si128(outside, _mm_or_si128(index, _mm_sub_epi16(last, index)));
        storeIndices(&indices[i], index);
    }
    constexpr int kHighBytes = 0xAAAA; // the byte holding each 16-bit lane's sign bit
    return (_mm_movemask_epi8(outside) & kHighBytes) == 0;
}

// rippleIndex of four phases within kFarPhaseLimit.
__m128i farIndicesOf(__m128 phase) {
    const __m128 size = _mm_set1_ps(static_cast<float>(kSineTableSize));
    const __m128 whole = _mm_cvtepi32_ps(_mm_cvttps_epi32(phase));
    // 1/size rounds up in single precision, so a multiple of the size never comes out short of
    // its quotient; below 2^22 the error is also too small to lift any other quotient to the
    // next whole number. The truncated quotient is exact, and so is the remainder.
    const __m128 quotient =
        _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_mul_ps(whole, _mm_set1_ps(1.0f / kSineTableSize))));
    const __m128 remainder = _mm_sub_ps(whole, _mm_mul_ps(quotient, size));
    const __m128 negative = _mm_cmplt_ps(remainder, _mm_setzero_ps());
    return _mm_cvttps_epi32(_mm_add_ps(remainder, _mm_and_ps(negative, size)));
}

// The chunk's indices when every phase lies within kFarPhaseLimit; false otherwise.
bool farIndices(const PhaseTerms& p, const Chunk& chunk, int count, int16_t* indices) {
    const __m128 signBit = _mm_set1_ps(-0.0f);
    const __m128 limit = _mm_set1_ps(kFarPhaseLimit);
    __m128 far = _mm_castsi128_ps(_mm_set1_epi32(-1));
    for (int i = 0; i < count; i += 8) {
        const __m128 low = phasesAt(p, &chunk.x[i]);
        const __m128 high = phasesAt(p, &chunk.x[i + 4]);
        // NaN fails the comparison too.
        far = _mm_and_ps(far, _mm_cmplt_ps(_mm_andnot_ps(signBit, low), limit));
        far = _mm_and_ps(far, _mm_cmplt_ps(_mm_andnot_ps(signBit, high), limit));
        storeIndices(&indices[i], _mm_packs_epi32(farIndicesOf(low), farIndicesOf(high)));
    }
    return _mm_movemask_ps(far) == 0xF;
}

// Pass one: the sine-table index of every vertex of the chunk for one drip.
void chunkIndices(const Ripple& r, float rowTerm, const Chunk& chunk, int count, int16_t* indices) {
    const PhaseTerms terms = {_mm_set1_ps(r.x), _mm_set1_ps(rowTerm), _mm_set1_ps(r.spread),
                              _mm_set1_ps(r.base)};
    if (nearIndices(terms, chunk, count, indices) || farIndices(terms, chunk, count, indices)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const float dx = chunk.x[i] - r.x;
        const float s = rowTerm + (dx * dx - r.x);
        indices[i] = static_cast<int16_t>(rippleIndex(8.0f * (s * r.spread + r.base)));
    }
}

// One drip's strength and colour factors in every lane.
struct WaveTerms {
    __m128 amplitude;
    __m128 red;
    __m128 green;
    __m128 blue;
};

// v - (w * v) * k.
inline __m128 tint(__m128 v, __m128 w, __m128 factor) {
    return _mm_sub_ps(v, _mm_mul_ps(_mm_mul_ps(w, v), factor));
}

// Pass two: looks up the sines, then adds the heights and tints of a batch of drips, in slot
// order, to every vertex of the chunk.
template <bool kTinted>
void addBatch(const Ripple* ripples, int batch, const int16_t (*indices)[kChunkSize], Chunk& chunk,
              int count) {
    WaveTerms terms[kDripBatch];
    for (int b = 0; b < batch; ++b) {
        const Ripple& r = ripples[b];
        terms[b] = {_mm_set1_ps(r.amplitude), _mm_set1_ps(r.redFactor), _mm_set1_ps(r.greenFactor),
                    _mm_set1_ps(r.blueFactor)};
    }
    for (int i = 0; i < count; i += 4) {
        __m128 z = _mm_loadu_ps(&chunk.z[i]);
        __m128 red = _mm_loadu_ps(&chunk.red[i]);
        __m128 green = _mm_loadu_ps(&chunk.green[i]);
        __m128 blue = _mm_loadu_ps(&chunk.blue[i]);
        for (int b = 0; b < batch; ++b) {
            const int16_t* index = &indices[b][i];
            const __m128 sines = _mm_setr_ps(sineTable[index[0]], sineTable[index[1]],
                                             sineTable[index[2]], sineTable[index[3]]);
            const __m128 w = _mm_mul_ps(sines, terms[b].amplitude);
            if (kTinted) {
                red = tint(red, w, terms[b].red);
                green = tint(green, w, terms[b].green);
                blue = tint(blue, w, terms[b].blue);
            }
            z = _mm_add_ps(z, w);
        }
        _mm_storeu_ps(&chunk.z[i], z);
        if (kTinted) {
            _mm_storeu_ps(&chunk.red[i], red);
            _mm_storeu_ps(&chunk.green[i], green);
            _mm_storeu_ps(&chunk.blue[i], blue);
        }
    }
}

// Each vertex takes every drip of the row, in slot order, before it goes back to the grid.
template <bool kTinted>
void addRipplesToChunk(const Ripple* ripples, const float* rowTerms, int rippleCount, Chunk& chunk,
                       int count) {
    int16_t indices[kDripBatch][kChunkSize];
    for (int first = 0; first < rippleCount; first += kDripBatch) {
        const int batch = rippleCount - first < kDripBatch ? rippleCount - first : kDripBatch;
        for (int b = 0; b < batch; ++b) {
            chunkIndices(ripples[first + b], rowTerms[first + b], chunk, count, indices[b]);
        }
        addBatch<kTinted>(ripples + first, batch, indices, chunk, count);
    }
}

// Copies `count` vertices into the chunk (their colours only when tinted) and pads it to a whole
// group of 8 with a harmless vertex; returns the padded count.
int loadChunk(Chunk& chunk, const Vec3* positions, const Vec3* colors, int count, bool tinted) {
    for (int i = 0; i < count; ++i) {
        chunk.x[i] = positions[i].x;
        chunk.z[i] = positions[i].z;
    }
    for (int i = 0; tinted && i < count; ++i) {
        chunk.red[i] = colors[i].x;
        chunk.green[i] = colors[i].y;
        chunk.blue[i] = colors[i].z;
    }
    const int padded = (count + 7) & ~7;
    for (int i = count; i < padded; ++i) {
        chunk.x[i] = chunk.z[i] = 0.0f;
        chunk.red[i] = chunk.green[i] = chunk.blue[i] = 1.0f;
    }
    return padded;
}

void storeChunk(const Chunk& chunk, Vec3* positions, Vec3* colors, int count, bool tinted) {
    for (int i = 0; i < count; ++i) {
        positions[i].z = chunk.z[i];
    }
    for (int i = 0; tinted && i < count; ++i) {
        colors[i] = {chunk.red[i], chunk.green[i], chunk.blue[i]};
    }
}

} // namespace

// NOTE: Win32 only promises 4-byte stack alignment to a thread's entry and to callbacks, while
// GCC keeps __m128 spills at 16; realigning here keeps the kernel safe whoever called it.
#ifdef __i386__
__attribute__((force_align_arg_pointer))
#endif
void addRippleRow(const Ripple* ripples, const float* rowTerms, int rippleCount, Vec3* positions,
                  Vec3* colors, int count, bool tinted) {
    Chunk chunk;
    for (int first = 0; first < count; first += kChunkSize) {
        const int size = count - first < kChunkSize ? count - first : kChunkSize;
        const int padded = loadChunk(chunk, positions + first, colors + first, size, tinted);
        if (tinted) {
            addRipplesToChunk<true>(ripples, rowTerms, rippleCount, chunk, padded);
        } else {
            addRipplesToChunk<false>(ripples, rowTerms, rippleCount, chunk, padded);
        }
        storeChunk(chunk, positions + first, colors + first, size, tinted);
    }
}

#endif
