#pragma once
// Reading and writing one little-endian sample of 1 to 4 bytes.

#include <cstdint>
#include <cstring>

namespace engine::detail {

template <int Bytes>
struct SampleCodec {
    static_assert(Bytes >= 1 && Bytes <= 4);
    static constexpr int size = Bytes;

    // The sample's unsigned value.
    static std::uint32_t read(const std::uint8_t* at) {
        if constexpr (Bytes == 1) {
            return at[0];
        } else if constexpr (Bytes == 2) {
            return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8);
        } else if constexpr (Bytes == 3) {
            return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16);
        } else {
            return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) |
                   (std::uint32_t{at[3]} << 24);
        }
    }

    // The low Bytes * 8 bits of the value's two's complement.
    static void write(std::uint8_t* at, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        at[0] = static_cast<std::uint8_t>(bits);
        if constexpr (Bytes >= 2) at[1] = static_cast<std::uint8_t>(bits >> 8);
        if constexpr (Bytes >= 3) at[2] = static_cast<std::uint8_t>(bits >> 16);
        if constexpr (Bytes >= 4) at[3] = static_cast<std::uint8_t>(bits >> 24);
    }
};

// Calls visit(SampleCodec<N>{}) with the codec of a filtered bit depth (8,
// 16, 24 or 32): the one place where a bit depth picks its code. Returns
// false, visit not called, for any other depth.
template <class Visit>
bool withSampleCodec(std::uint16_t bitDepth, Visit&& visit) {
    switch (bitDepth) {
        case 8:
            visit(SampleCodec<1>{});
            return true;
        case 16:
            visit(SampleCodec<2>{});
            return true;
        case 24:
            visit(SampleCodec<3>{});
            return true;
        case 32:
            visit(SampleCodec<4>{});
            return true;
        default:
            return false;
    }
}

}  // namespace engine::detail
