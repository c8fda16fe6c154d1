#include "engine/filter_lanes_avx512.h"

#ifdef QUENMARL_FILTER_AVX512
// GCC 12's own AVX-512 header warns about its deliberately undefined
// register contents.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <array>

#include "engine/dc_filter.h"
#include "engine/filter_lanes.h"

#define QUENMARL_AVX512 __attribute__((target("avx512f,avx512bw,avx512dq")))

// Each round loads 32 bytes of every lane and transposes them as 64-bit
// words, so that word w of eight lanes sits in one register. Samples are
// taken out of the words and put back into them with in-lane byte shuffles,
// shifts and bit selects, which keeps the shuffle unit (the bottleneck of
// narrower kernels) nearly free. Two groups of eight chains run interleaved:
// one group alone would wait on the multiply-add latency.

namespace engine::detail::avx512 {

namespace {

// The lanes of a group are the 64-bit elements of a register. A round
// takes 32 bytes of every lane: rows[k] holds lanes k and k + 4, words[w]
// word w of all eight lanes in order, both ways by the same few shuffles.
struct Rows {
    __m512i r[4];
};
struct Words {
    __m512i w[4];
};

QUENMARL_AVX512 inline __m512i pairs(__m512i a, __m512i b, int from) {
    // Elements from, from + 1 of a and of b, then from + 4, from + 5 of each.
    const __m512i index =
        _mm512_set_epi64(13 + from, 12 + from, 5 + from, 4 + from, 9 + from, 8 + from, 1 + from, 0 + from);
    return _mm512_permutex2var_epi64(a, index, b);
}

QUENMARL_AVX512 inline Words rowsToWords(const Rows& rows) {
    const __m512i a0 = _mm512_unpacklo_epi64(rows.r[0], rows.r[1]);  // lanes 0, 1 / 4, 5 at words 0, 2
    const __m512i a1 = _mm512_unpackhi_epi64(rows.r[0], rows.r[1]);  // the same at words 1, 3
    const __m512i a2 = _mm512_unpacklo_epi64(rows.r[2], rows.r[3]);  // lanes 2, 3 / 6, 7
    const __m512i a3 = _mm512_unpackhi_epi64(rows.r[2], rows.r[3]);
    return {{pairs(a0, a2, 0), pairs(a1, a3, 0), pairs(a0, a2, 2), pairs(a1, a3, 2)}};
}

QUENMARL_AVX512 inline Rows wordsToRows(const Words& words) {
    const __m512i a0 = pairs(words.w[0], words.w[2], 0);
    const __m512i a2 = pairs(words.w[0], words.w[2], 2);
    const __m512i a1 = pairs(words.w[1], words.w[3], 0);
    const __m512i a3 = pairs(words.w[1], words.w[3], 2);
    return {{_mm512_unpacklo_epi64(a0, a1), _mm512_unpackhi_epi64(a0, a1), _mm512_unpacklo_epi64(a2, a3),
             _mm512_unpackhi_epi64(a2, a3)}};
}

// The byte shuffle that moves sample number Sample of every 64-bit word
// to the word's bottom and clears the rest of the word.
template <int SampleSize, int Sample>
constexpr std::array<std::uint8_t, 64> pickControl() {
    std::array<std::uint8_t, 64> control{};
    for (int t = 0; t < 64; ++t) {
        const int inWord = t % 8;
        const int wordStart = t % 16 - inWord;  // 0 or 8 within the 16-byte lane
        control[t] = inWord < SampleSize ? static_cast<std::uint8_t>(wordStart + Sample * SampleSize + inWord) : 0x80;
    }
    return control;
}

template <int SampleSize, int Sample>
constexpr std::array<std::uint8_t, 64> pickTable = pickControl<SampleSize, Sample>();

struct Chains {
    __m512d xPrev;
    __m512d yPrev;
};

// Runs every sample of one word position of all groups, from sample Sample
// on, the groups' chains interleaved. With Write, merged[g] collects group
// g's outputs at the samples' places.
template <int SampleSize, bool Write, int Groups, int Sample>
QUENMARL_AVX512 inline void stepWord(Chains (&chains)[Groups], const __m512i (&word)[Groups],
                                     __m512i (&merged)[Groups]) {
    const __m512d coefficient = _mm512_set1_pd(dcFilterCoefficient);
    const __m512d gain = _mm512_set1_pd(dcFilterGain);
    const __m512i pick = _mm512_loadu_si512(pickTable<SampleSize, Sample>.data());
    for (int g = 0; g < Groups; ++g) {
        Chains& c = chains[g];
        const __m512d x = _mm512_cvtepi64_pd(_mm512_shuffle_epi8(word[g], pick));
        const __m512d y = _mm512_add_pd(_mm512_sub_pd(x, c.xPrev), _mm512_mul_pd(coefficient, c.yPrev));
        c.xPrev = x;
        c.yPrev = y;
        if constexpr (Write) {
            // Truncated toward zero like the scalar conversion; the low bits
            // of a 64-bit two's complement are those of the 32-bit one.
            const __m512i value = _mm512_cvttpd_epi64(_mm512_mul_pd(gain, y));
            if constexpr (Sample == 0) {
                merged[g] = value;  // the bytes above the sample are set by the later samples
            } else {
                constexpr int shift = 8 * SampleSize * Sample;
                constexpr std::uint64_t sampleMask = ((std::uint64_t{1} << (8 * SampleSize)) - 1) << shift;
                constexpr int selectSecondWhereThird = 0xD8;  // third ? second : first
                merged[g] = _mm512_ternarylogic_epi64(merged[g], _mm512_slli_epi64(value, shift),
                                                      _mm512_set1_epi64(static_cast<long long>(sampleMask)),
                                                      selectSecondWhereThird);
            }
        }
    }
    if constexpr (Sample + 1 < 8 / SampleSize) {
        stepWord<SampleSize, Write, Groups, Sample + 1>(chains, word, merged);
    }
}

// Element order of a group's register: lane k of the group sits at element
// k, as words[] has it.
template <int SampleSize, bool Write, int Groups>
QUENMARL_AVX512 std::uint64_t runLanes(Lane* lanes, std::uint64_t steps) {
    constexpr int laneCount = 8 * Groups;
    constexpr std::uint64_t roundBytes = 32;
    constexpr std::uint64_t roundSteps = roundBytes / SampleSize;
    const std::uint64_t rounds = steps / roundSteps;
    Chains chains[Groups];
    for (int g = 0; g < Groups; ++g) {
        double xPrev[8], yPrev[8];
        for (int k = 0; k < 8; ++k) {
            xPrev[k] = lanes[8 * g + k].state.xPrev;
            yPrev[k] = lanes[8 * g + k].state.yPrev;
        }
        chains[g] = {_mm512_loadu_pd(xPrev), _mm512_loadu_pd(yPrev)};
    }
    for (std::uint64_t r = 0; r < rounds; ++r) {
        const std::uint64_t at = r * roundBytes;
        Words words[Groups];
        for (int g = 0; g < Groups; ++g) {
            const Lane* group = lanes + 8 * g;
            Rows rows;
            for (int k = 0; k < 4; ++k) {
                const auto* low = reinterpret_cast<const __m256i*>(group[k].source + at);
                const auto* high = reinterpret_cast<const __m256i*>(group[k + 4].source + at);
                rows.r[k] =
                    _mm512_inserti64x4(_mm512_castsi256_si512(_mm256_loadu_si256(low)), _mm256_loadu_si256(high), 1);
            }
            words[g] = rowsToWords(rows);
        }
        Words outputs[Groups];
        for (int w = 0; w < 4; ++w) {
            __m512i word[Groups], merged[Groups];
            for (int g = 0; g < Groups; ++g) word[g] = words[g].w[w];
            stepWord<SampleSize, Write, Groups, 0>(chains, word, merged);
            for (int g = 0; g < Groups; ++g) outputs[g].w[w] = merged[g];
        }
        if constexpr (Write) {
            for (int g = 0; g < Groups; ++g) {
                const Rows rows = wordsToRows(outputs[g]);
                Lane* group = lanes + 8 * g;
                for (int k = 0; k < 4; ++k) {
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(group[k].destination + at),
                                        _mm512_castsi512_si256(rows.r[k]));
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(group[k + 4].destination + at),
                                        _mm512_extracti64x4_epi64(rows.r[k], 1));
                }
            }
        }
    }
    const std::uint64_t done = rounds * roundSteps;
    for (int g = 0; g < Groups; ++g) {
        double xPrev[8], yPrev[8];
        _mm512_storeu_pd(xPrev, chains[g].xPrev);
        _mm512_storeu_pd(yPrev, chains[g].yPrev);
        for (int k = 0; k < 8; ++k) lanes[8 * g + k].state = {xPrev[k], yPrev[k]};
    }
    for (int k = 0; k < laneCount; ++k) {
        lanes[k].source += done * SampleSize;
        if constexpr (Write) lanes[k].destination += done * SampleSize;
    }
    return done;
}

}  // namespace

bool available() {
    static const bool hasAvx512 =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq");
    return hasAvx512;
}

std::uint64_t stepSixteenLanes8(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? runLanes<1, true, 2>(lanes, steps) : runLanes<1, false, 2>(lanes, steps);
}

std::uint64_t stepSixteenLanes16(Lane* lanes, std::uint64_t steps, bool write) {
    return write ? runLanes<2, true, 2>(lanes, steps) : runLanes<2, false, 2>(lanes, steps);
}

}  // namespace engine::detail::avx512

#endif
