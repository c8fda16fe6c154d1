#include "engine/filter_lanes_avx2.h"

#ifdef QUENMARL_FILTER_AVX2
#include <immintrin.h>

#include "engine/dc_filter.h"
#include "engine/filter_lanes.h"
#include "engine/filter_lanes_sse2.h"

#define QUENMARL_AVX2 __attribute__((target("avx2")))

namespace engine::detail::avx2 {

namespace {

// Lanes 0-3 and 4-7 of the chains' states.
struct States {
    __m256d xPrev[2];
    __m256d yPrev[2];
};

QUENMARL_AVX2 States loadStates(const Lane* lanes) {
    States s;
    for (int h = 0; h < 2; ++h) {
        const Lane* l = lanes + 4 * h;
        s.xPrev[h] = _mm256_set_pd(l[3].state.xPrev, l[2].state.xPrev, l[1].state.xPrev, l[0].state.xPrev);
        s.yPrev[h] = _mm256_set_pd(l[3].state.yPrev, l[2].state.yPrev, l[1].state.yPrev, l[0].state.yPrev);
    }
    return s;
}

QUENMARL_AVX2 void storeStates(const States& s, Lane* lanes) {
    alignas(32) double x[4], y[4];
    for (int h = 0; h < 2; ++h) {
        _mm256_store_pd(x, s.xPrev[h]);
        _mm256_store_pd(y, s.yPrev[h]);
        for (int k = 0; k < 4; ++k) lanes[4 * h + k].state = {x[k], y[k]};
    }
}

// One step of all eight chains from their samples as 32-bit integers (lanes
// 0-3 in low, 4-7 in high); returns the eight outputs as 16-bit integers.
QUENMARL_AVX2 inline __m128i step(States& s, __m128i low, __m128i high) {
    const __m256d coefficient = _mm256_set1_pd(dcFilterCoefficient);
    const __m256d gain = _mm256_set1_pd(dcFilterGain);
    const __m256d x[2] = {_mm256_cvtepi32_pd(low), _mm256_cvtepi32_pd(high)};
    __m128i out[2];
    for (int h = 0; h < 2; ++h) {
        const __m256d y = _mm256_add_pd(_mm256_sub_pd(x[h], s.xPrev[h]), _mm256_mul_pd(coefficient, s.yPrev[h]));
        out[h] = _mm256_cvttpd_epi32(_mm256_mul_pd(gain, y));
        s.xPrev[h] = x[h];
        s.yPrev[h] = y;
    }
    return _mm_packs_epi32(out[0], out[1]);
}

template <bool Write>
QUENMARL_AVX2 std::uint64_t eightLanes8(Lane* lanes, std::uint64_t steps) {
    const std::uint64_t rounds = steps / 16;
    States s = loadStates(lanes);
    for (std::uint64_t r = 0; r < rounds; ++r) {
        const std::uint64_t at = r * 16;
        __m128i v[8];
        for (int k = 0; k < 8; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes[k].source + at));
        sse2::lanesToSteps(v);
        __m128i rows[16];
        for (int i = 0; i < 16; ++i) {
            const __m128i bytes = i % 2 ? _mm_srli_si128(v[i / 2], 8) : v[i / 2];
            const __m128i out = step(s, _mm_cvtepu8_epi32(bytes), _mm_cvtepu8_epi32(_mm_srli_si128(bytes, 4)));
            // Outputs lie within +-102: narrowing with saturation keeps them.
            rows[i] = _mm_packs_epi16(out, out);
        }
        if constexpr (Write) {
            __m128i z[8];
            for (int j = 0; j < 8; ++j) z[j] = _mm_unpacklo_epi64(rows[j], rows[j + 8]);
            sse2::stepsToLanes(z);
            for (int k = 0; k < 8; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[k].destination + at), z[k]);
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

template <bool Write>
QUENMARL_AVX2 std::uint64_t eightLanes16(Lane* lanes, std::uint64_t steps) {
    const std::uint64_t rounds = steps / 8;
    States s = loadStates(lanes);
    for (std::uint64_t r = 0; r < rounds; ++r) {
        const std::uint64_t at = r * 16;
        __m128i rows[8];
        for (int k = 0; k < 8; ++k) rows[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes[k].source + at));
        sse2::transposeWords(rows);
        for (__m128i& row : rows) row = step(s, _mm_cvtepu16_epi32(row), _mm_cvtepu16_epi32(_mm_srli_si128(row, 8)));
        if constexpr (Write) {
            sse2::transposeWords(rows);
            for (int k = 0; k < 8; ++k)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes[k].destination + at), rows[k]);
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

}  // namespace

bool available() {
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2;
}

std::uint64_t stepEightLanes8(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? eightLanes8<true>(lanes, steps) : eightLanes8<false>(lanes, steps);
}

std::uint64_t stepEightLanes16(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? eightLanes16<true>(lanes, steps) : eightLanes16<false>(lanes, steps);
}

}  // namespace engine::detail::avx2

#endif
