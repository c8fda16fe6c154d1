// Writes the WAV file the converter must produce for an input, with the
// plain sequential filter: the yardstick the benchmark compares against.
//   reference-wav INPUT OUTPUT BIT_DEPTH FILTER(0|1)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/dc_filter.h"
#include "engine/wav_header.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: reference-wav INPUT OUTPUT BIT_DEPTH FILTER\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto bits = static_cast<std::uint16_t>(std::atoi(argv[3]));
    std::vector<std::uint8_t> data = input;
    if (std::atoi(argv[4]) != 0) {
        engine::applyDcFilter(data.data(), input.data(), static_cast<std::int64_t>(input.size()), bits);
    }
    const auto header =
        engine::wavHeaderBytes(engine::writeWavHeader(static_cast<std::uint32_t>(input.size()), 44100, bits, 1));
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return out ? 0 : 1;
}
