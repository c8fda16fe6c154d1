#pragma once
// Eight chains of the DC filter over 8- or 16-bit samples with SSE2: the
// chains' samples are transposed in registers so that each step works on all
// eight at once, two per register, and transposed back for the outputs.
// Every lane computes exactly the scalar filter's IEEE double operations:
// the same subtraction, multiplications and addition in the same order, and
// the same truncation toward zero; only the bookkeeping is vectorised.

#if defined(__SSE2__)
#define QUENMARL_FILTER_SSE2 1
#include <emmintrin.h>

#include <cstdint>

#include "engine/dc_filter.h"

namespace engine::detail::sse2 {

// The eight chains' states, lanes (0, 1), (2, 3), (4, 5), (6, 7) in pairs.
struct States {
    __m128d xPrev[4];
    __m128d yPrev[4];
};

// One step of all eight chains: x holds the eight samples as 32-bit
// integers, lanes 0-3 in low and 4-7 in high. Returns the eight outputs as
// 16-bit integers (they fit: at most 26214 in magnitude for 16 bits).
inline __m128i step(States& s, __m128i low, __m128i high) {
    const __m128d coefficient = _mm_set1_pd(dcFilterCoefficient);
    const __m128d gain = _mm_set1_pd(dcFilterGain);
    const __m128d x[4] = {_mm_cvtepi32_pd(low), _mm_cvtepi32_pd(_mm_srli_si128(low, 8)), _mm_cvtepi32_pd(high),
                          _mm_cvtepi32_pd(_mm_srli_si128(high, 8))};
    __m128i out[4];
    for (int p = 0; p < 4; ++p) {
        const __m128d y = _mm_add_pd(_mm_sub_pd(x[p], s.xPrev[p]), _mm_mul_pd(coefficient, s.yPrev[p]));
        out[p] = _mm_cvttpd_epi32(_mm_mul_pd(gain, y));
        s.xPrev[p] = x[p];
        s.yPrev[p] = y;
    }
    return _mm_packs_epi32(_mm_unpacklo_epi64(out[0], out[1]), _mm_unpacklo_epi64(out[2], out[3]));
}

// Transposes an 8 x 8 matrix of 16-bit values held one row per register.
inline void transposeWords(__m128i (&r)[8]) {
    __m128i a[8], b[8];
    for (int i = 0; i < 4; ++i) {
        a[2 * i] = _mm_unpacklo_epi16(r[2 * i], r[2 * i + 1]);
        a[2 * i + 1] = _mm_unpackhi_epi16(r[2 * i], r[2 * i + 1]);
    }
    for (int h = 0; h < 2; ++h) {
        b[4 * h + 0] = _mm_unpacklo_epi32(a[4 * h + 0], a[4 * h + 2]);
        b[4 * h + 1] = _mm_unpackhi_epi32(a[4 * h + 0], a[4 * h + 2]);
        b[4 * h + 2] = _mm_unpacklo_epi32(a[4 * h + 1], a[4 * h + 3]);
        b[4 * h + 3] = _mm_unpackhi_epi32(a[4 * h + 1], a[4 * h + 3]);
    }
    for (int i = 0; i < 4; ++i) {
        r[2 * i] = _mm_unpacklo_epi64(b[i], b[i + 4]);
        r[2 * i + 1] = _mm_unpackhi_epi64(b[i], b[i + 4]);
    }
}

// Runs eight steps of all eight chains. rows[k] holds lane k's eight
// samples as 16-bit values on entry and, with Write, its eight outputs on
// return.
template <bool Write>
inline void eightSteps(States& s, __m128i (&rows)[8]) {
    const __m128i zero = _mm_setzero_si128();
    transposeWords(rows);  // now rows[i] holds step i of every lane
    for (__m128i& row : rows) row = step(s, _mm_unpacklo_epi16(row, zero), _mm_unpackhi_epi16(row, zero));
    if constexpr (Write) transposeWords(rows);
}

template <class LaneT>
inline States loadStates(const LaneT* lanes) {
    States s;
    for (int p = 0; p < 4; ++p) {
        s.xPrev[p] = _mm_set_pd(lanes[2 * p + 1].state.xPrev, lanes[2 * p].state.xPrev);
        s.yPrev[p] = _mm_set_pd(lanes[2 * p + 1].state.yPrev, lanes[2 * p].state.yPrev);
    }
    return s;
}

template <class LaneT>
inline void storeStates(const States& s, LaneT* lanes) {
    for (int p = 0; p < 4; ++p) {
        _mm_storel_pd(&lanes[2 * p].state.xPrev, s.xPrev[p]);
        _mm_storeh_pd(&lanes[2 * p + 1].state.xPrev, s.xPrev[p]);
        _mm_storel_pd(&lanes[2 * p].state.yPrev, s.yPrev[p]);
        _mm_storeh_pd(&lanes[2 * p + 1].state.yPrev, s.yPrev[p]);
    }
}

// Eight lanes of 8-bit samples, 16 steps per round. Returns the steps done
// (steps rounded down to a multiple of 16); the caller finishes the rest.
template <bool Write, class LaneT>
std::uint64_t stepEightLanes8(LaneT* lanes, std::uint64_t steps) {
    const std::uint64_t rounds = steps / 16;
    States s = loadStates(lanes);
    const __m128i zero = _mm_setzero_si128();
    for (std::uint64_t r = 0; r < rounds; ++r) {
        const std::uint64_t at = r * 16;
        __m128i first[8], second[8];
        for (int k = 0; k < 8; ++k) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes[k].source + at));
            first[k] = _mm_unpacklo_epi8(bytes, zero);
            second[k] = _mm_unpackhi_epi8(bytes, zero);
        }
        eightSteps<Write>(s, first);
        eightSteps<Write>(s, second);
        if constexpr (Write) {
            // Outputs lie within +-102: narrowing with saturation keeps them.
            for (int k = 0; k < 8; ++k) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[k].destination + at),
                                 _mm_packs_epi16(first[k], second[k]));
            }
        }
    }
    storeStates(s, lanes);
    const std::uint64_t done = rounds * 16;
    for (int k = 0; k < 8; ++k) {
        lanes[k].source += done;
        if constexpr (Write) lanes[k].destination += done;
    }
    return done;
}

// Eight lanes of 16-bit samples, 8 steps per round; as above.
template <bool Write, class LaneT>
std::uint64_t stepEightLanes16(LaneT* lanes, std::uint64_t steps) {
    const std::uint64_t rounds = steps / 8;
    States s = loadStates(lanes);
    for (std::uint64_t r = 0; r < rounds; ++r) {
        const std::uint64_t at = r * 16;
        __m128i rows[8];
        for (int k = 0; k < 8; ++k) {
            rows[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes[k].source + at));
        }
        eightSteps<Write>(s, rows);
        if constexpr (Write) {
            for (int k = 0; k < 8; ++k) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[k].destination + at), rows[k]);
            }
        }
    }
    storeStates(s, lanes);
    const std::uint64_t done = rounds * 8;
    for (int k = 0; k < 8; ++k) {
        lanes[k].source += done * 2;
        if constexpr (Write) lanes[k].destination += done * 2;
    }
    return done;
}

}  // namespace engine::detail::sse2

#endif
