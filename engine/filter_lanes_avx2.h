#pragma once
// Eight or sixteen chains of the DC filter over 8- or 16-bit samples with
// AVX2, four chains per register. Built for every x86-64 target and chosen
// at run time where the processor has AVX2. The arithmetic is the scalar
// filter's, lane by lane: the same IEEE double operations without fused
// multiply-add, the same truncation, the same low bits written.

#if defined(__x86_64__) || defined(__i386__)
#define QUENMARL_FILTER_AVX2 1

#include <cstdint>

namespace engine::detail {

struct Lane;

namespace avx2 {

// True when the processor runs AVX2 code.
bool available();

// Advance eight lanes by steps rounded down to whole rounds (16 steps for 8
// bits, 8 for 16 bits) and return the steps done; the caller does the rest.
std::uint64_t stepEightLanes8(Lane* lanes, std::uint64_t steps, bool write);
std::uint64_t stepEightLanes16(Lane* lanes, std::uint64_t steps, bool write);

// The same for sixteen lanes, four groups of four chains, one chain per
// 64-bit element (the same rounds).
std::uint64_t stepSixteenLanes8(Lane* lanes, std::uint64_t steps, bool write);
std::uint64_t stepSixteenLanes16(Lane* lanes, std::uint64_t steps, bool write);

}  // namespace avx2
}  // namespace engine::detail

#endif
