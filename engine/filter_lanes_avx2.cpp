#include "engine/filter_lanes_avx2.h"

#ifdef QUENMARL_FILTER_AVX2
#include <immintrin.h>

#include <array>

#include "engine/dc_filter.h"
#include "engine/filter_lanes.h"

#define QUENMARL_AVX2 __attribute__((target("avx2")))

// Each round loads 16 bytes of every lane and regroups them as 64-bit words,
// so that word w of four lanes sits in one register, one chain per element.
// Kernels that transpose single samples are held up by the shuffle unit, so
// here samples go in and out of the words with one in-lane byte shuffle
// each, and the conversions between integers and doubles take no shuffle:
//  - a sample s with the bits of 2^52 set above it is the double 2^52 + s,
//    and the difference of two such doubles is exactly that of the samples;
//  - an integer-valued double t plus 1.5 * 2^52 holds t's two's complement
//    in its low bits (for |t| < 2^51).
// Four groups of four chains run interleaved: fewer would wait on the
// latency of the multiply and the add.

namespace engine::detail::avx2 {

namespace {

constexpr double sampleBias = 4503599627370496.0;         // 2^52
constexpr double integerBias = 6755399441055744.0;        // 1.5 * 2^52
constexpr long long sampleBiasBits = 0x4330000000000000;  // the bits of 2^52

// The byte shuffle that moves sample Sample of every 64-bit word to the
// word's bottom and clears the rest of the word.
template <int SampleSize, int Sample>
constexpr std::array<std::uint8_t, 32> pickControl() {
    std::array<std::uint8_t, 32> control{};
    for (int t = 0; t < 32; ++t) {
        const int inWord = t % 8;
        const int wordStart = t % 16 - inWord;  // 0 or 8 within the 16-byte lane
        control[t] = inWord < SampleSize ? static_cast<std::uint8_t>(wordStart + Sample * SampleSize + inWord) : 0x80;
    }
    return control;
}

// The byte shuffle that moves the bottom sample of every 64-bit word to the
// place of sample Sample and clears the rest of the word.
template <int SampleSize, int Sample>
constexpr std::array<std::uint8_t, 32> placeControl() {
    std::array<std::uint8_t, 32> control{};
    for (int t = 0; t < 32; ++t) {
        const int inWord = t % 8;
        const int wordStart = t % 16 - inWord;
        const int fromSample = inWord - Sample * SampleSize;
        control[t] =
            fromSample >= 0 && fromSample < SampleSize ? static_cast<std::uint8_t>(wordStart + fromSample) : 0x80;
    }
    return control;
}

template <int SampleSize, int Sample>
constexpr std::array<std::uint8_t, 32> pickTable = pickControl<SampleSize, Sample>();
template <int SampleSize, int Sample>
constexpr std::array<std::uint8_t, 32> placeTable = placeControl<SampleSize, Sample>();

// Four chains; xPrev carries the bias of 2^52. (Every state the filter
// reaches has a sample as its xPrev, a whole number far below 2^52.)
struct Chains {
    __m256d xPrev;
    __m256d yPrev;
};

// Runs every sample of one word position of all groups, from sample Sample
// on. With Write, merged[g] collects group g's outputs at the samples'
// places.
template <int SampleSize, bool Write, int Groups, int Sample>
QUENMARL_AVX2 inline void stepWord(Chains (&chains)[Groups], const __m256i (&word)[Groups], __m256i (&merged)[Groups]) {
    const __m256d coefficient = _mm256_set1_pd(dcFilterCoefficient);
    const __m256d gain = _mm256_set1_pd(dcFilterGain);
    const __m256i bias = _mm256_set1_epi64x(sampleBiasBits);
    const __m256i pick = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pickTable<SampleSize, Sample>.data()));
    for (int g = 0; g < Groups; ++g) {
        Chains& c = chains[g];
        const __m256d x = _mm256_castsi256_pd(_mm256_or_si256(_mm256_shuffle_epi8(word[g], pick), bias));
        const __m256d y = _mm256_add_pd(_mm256_sub_pd(x, c.xPrev), _mm256_mul_pd(coefficient, c.yPrev));
        c.xPrev = x;
        c.yPrev = y;
        if constexpr (Write) {
            const __m256d truncated = _mm256_round_pd(_mm256_mul_pd(gain, y), _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
            const __m256i value = _mm256_castpd_si256(_mm256_add_pd(truncated, _mm256_set1_pd(integerBias)));
            const __m256i place =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(placeTable<SampleSize, Sample>.data()));
            const __m256i placed = _mm256_shuffle_epi8(value, place);
            merged[g] = Sample == 0 ? placed : _mm256_or_si256(merged[g], placed);
        }
    }
    if constexpr (Sample + 1 < 8 / SampleSize) {
        stepWord<SampleSize, Write, Groups, Sample + 1>(chains, word, merged);
    }
}

// Lanes 4g to 4g + 3 form group g, lane 4g + k at element k.
template <int SampleSize, bool Write, int Groups>
QUENMARL_AVX2 std::uint64_t runLanes(Lane* lanes, std::uint64_t steps) {
    constexpr int laneCount = 4 * Groups;
    constexpr std::uint64_t roundBytes = 16;
    constexpr std::uint64_t roundSteps = roundBytes / SampleSize;
    const std::uint64_t rounds = steps / roundSteps;
    Chains chains[Groups];
    for (int g = 0; g < Groups; ++g) {
        const Lane* l = lanes + 4 * g;
        chains[g].xPrev =
            _mm256_add_pd(_mm256_set_pd(l[3].state.xPrev, l[2].state.xPrev, l[1].state.xPrev, l[0].state.xPrev),
                          _mm256_set1_pd(sampleBias));
        chains[g].yPrev = _mm256_set_pd(l[3].state.yPrev, l[2].state.yPrev, l[1].state.yPrev, l[0].state.yPrev);
    }
    for (std::uint64_t r = 0; r < rounds; ++r) {
        const std::uint64_t at = r * roundBytes;
        // words[g][w]: word w of the group's four lanes. Lanes 0 and 2 share
        // one register and 1 and 3 another, so that unpacking them pairs
        // the words in lane order.
        __m256i words[Groups][2];
        for (int g = 0; g < Groups; ++g) {
            const Lane* l = lanes + 4 * g;
            const auto load = [at](const Lane& lane) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(lane.source + at));
            };
            const __m256i even = _mm256_inserti128_si256(_mm256_castsi128_si256(load(l[0])), load(l[2]), 1);
            const __m256i odd = _mm256_inserti128_si256(_mm256_castsi128_si256(load(l[1])), load(l[3]), 1);
            words[g][0] = _mm256_unpacklo_epi64(even, odd);
            words[g][1] = _mm256_unpackhi_epi64(even, odd);
        }
        __m256i outputs[Groups][2];
        for (int w = 0; w < 2; ++w) {
            __m256i word[Groups], merged[Groups];
            for (int g = 0; g < Groups; ++g) word[g] = words[g][w];
            stepWord<SampleSize, Write, Groups, 0>(chains, word, merged);
            if constexpr (Write) {
                for (int g = 0; g < Groups; ++g) outputs[g][w] = merged[g];
            }
        }
        if constexpr (Write) {
            for (int g = 0; g < Groups; ++g) {
                Lane* l = lanes + 4 * g;
                const __m256i even = _mm256_unpacklo_epi64(outputs[g][0], outputs[g][1]);
                const __m256i odd = _mm256_unpackhi_epi64(outputs[g][0], outputs[g][1]);
                const auto store = [at](Lane& lane, __m128i bytes) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(lane.destination + at), bytes);
                };
                store(l[0], _mm256_castsi256_si128(even));
                store(l[2], _mm256_extracti128_si256(even, 1));
                store(l[1], _mm256_castsi256_si128(odd));
                store(l[3], _mm256_extracti128_si256(odd, 1));
            }
        }
    }
    for (int g = 0; g < Groups; ++g) {
        alignas(32) double x[4], y[4];
        _mm256_store_pd(x, _mm256_sub_pd(chains[g].xPrev, _mm256_set1_pd(sampleBias)));
        _mm256_store_pd(y, chains[g].yPrev);
        for (int k = 0; k < 4; ++k) lanes[4 * g + k].state = {x[k], y[k]};
    }
    const std::uint64_t done = rounds * roundSteps;
    for (int k = 0; k < laneCount; ++k) {
        lanes[k].source += done * SampleSize;
        if constexpr (Write) lanes[k].destination += done * SampleSize;
    }
    return done;
}

}  // namespace

bool available() {
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2;
}

std::uint64_t stepEightLanes8(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? runLanes<1, true, 2>(lanes, steps) : runLanes<1, false, 2>(lanes, steps);
}

std::uint64_t stepEightLanes16(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? runLanes<2, true, 2>(lanes, steps) : runLanes<2, false, 2>(lanes, steps);
}

std::uint64_t stepSixteenLanes8(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? runLanes<1, true, 4>(lanes, steps) : runLanes<1, false, 4>(lanes, steps);
}

std::uint64_t stepSixteenLanes16(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? runLanes<2, true, 4>(lanes, steps) : runLanes<2, false, 4>(lanes, steps);
}

}  // namespace engine::detail::avx2

#endif
