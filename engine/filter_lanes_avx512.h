#pragma once
// Sixteen chains of the DC filter over 8- or 16-bit samples with AVX-512,
// one chain per 64-bit element. Built for every x86-64 target and chosen at run
// time where the processor has AVX-512 F, BW and DQ. The arithmetic is the
// scalar filter's, lane by lane: the same IEEE double operations without
// fused multiply-add, the same truncation, the same low bits written.

#if defined(__x86_64__)
#define QUENMARL_FILTER_AVX512 1

#include <cstdint>

namespace engine::detail {

struct Lane;

namespace avx512 {

// True when the processor (and the operating system) runs AVX-512 code.
bool available();

// Advance sixteen lanes by steps rounded down to whole rounds (32 steps for
// 8 bits, 16 for 16 bits) and return the steps done; the caller does the
// rest.
std::uint64_t stepSixteenLanes8(Lane* lanes, std::uint64_t steps, bool write);
std::uint64_t stepSixteenLanes16(Lane* lanes, std::uint64_t steps, bool write);

}  // namespace avx512
}  // namespace engine::detail

#endif
