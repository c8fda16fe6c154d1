#include "engine/wav_header.h"

namespace engine {

namespace {

class LittleEndianWriter {
public:
    constexpr explicit LittleEndianWriter(std::array<std::uint8_t, wavHeaderSize>& bytes) : bytes_(bytes) {}

    constexpr void tag(const char (&code)[5]) {
        for (int i = 0; i < 4; ++i) bytes_[at_++] = static_cast<std::uint8_t>(code[i]);
    }
    constexpr void u16(std::uint16_t value) {
        bytes_[at_++] = static_cast<std::uint8_t>(value);
        bytes_[at_++] = static_cast<std::uint8_t>(value >> 8);
    }
    constexpr void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    constexpr std::size_t written() const { return at_; }

private:
    std::array<std::uint8_t, wavHeaderSize>& bytes_;
    std::size_t at_ = 0;
};

struct LaidOutHeader {
    std::array<std::uint8_t, wavHeaderSize> bytes{};
    std::size_t written = 0;
};

// The fields in file order, and how many bytes they took.
constexpr LaidOutHeader layOut(const WavHeader& header) {
    LaidOutHeader result;
    LittleEndianWriter out(result.bytes);
    out.tag("RIFF");
    out.u32(header.riffSize);
    out.tag("WAVE");
    out.tag("fmt ");
    out.u32(header.fmtChunkSize);
    out.u16(header.formatTag);
    out.u16(header.channels);
    out.u32(header.sampleRate);
    out.u32(header.byteRate);
    out.u16(header.blockAlign);
    out.u16(header.bitsPerSample);
    out.tag("data");
    out.u32(header.dataSize);
    result.written = out.written();
    return result;
}

// The fields fill the header exactly: a field added, dropped or resized
// fails the build here (writing past the end is no constant expression).
static_assert(layOut(WavHeader{}).written == wavHeaderSize);
// "RIFF" and its size field (8) come before the 36 bytes riffSize counts
// besides the data.
static_assert(wavHeaderSize == 8 + 36);

}  // namespace

WavHeader writeWavHeader(std::uint32_t dataSize, std::int32_t sampleRateHz, std::uint16_t bitDepth,
                         std::uint16_t numberOfChannels) {
    const auto rate = static_cast<std::uint32_t>(sampleRateHz);
    WavHeader header{};
    header.riffSize = dataSize + 36u;  // "WAVE" (4) + fmt chunk (8 + 16) + data chunk header (8)
    header.fmtChunkSize = 16;
    header.formatTag = bitDepth == 32 ? 3 : 1;
    header.channels = numberOfChannels;
    header.sampleRate = rate;
    // Both products wrap in their own width before the division by 8.
    header.byteRate = (rate * std::uint32_t{numberOfChannels} * std::uint32_t{bitDepth}) >> 3;
    const auto channelBits = static_cast<std::uint16_t>(std::uint32_t{numberOfChannels} * bitDepth);
    header.blockAlign = static_cast<std::uint16_t>(channelBits >> 3);
    header.bitsPerSample = bitDepth;
    header.dataSize = dataSize;
    return header;
}

WavHeader writeWavHeader(std::uint32_t dataSize, std::int32_t sampleRateHz, std::uint16_t bitDepth,
                         std::uint16_t numberOfChannels, SampleEncoding encoding) {
    if (encoding == SampleEncoding::pcm) return writeWavHeader(dataSize, sampleRateHz, bitDepth, numberOfChannels);
    WavHeader header = writeWavHeader(dataSize, sampleRateHz, 8, numberOfChannels);
    header.formatTag = encoding == SampleEncoding::ulaw ? 7 : 6;
    return header;
}

std::array<std::uint8_t, wavHeaderSize> wavHeaderBytes(const WavHeader& header) { return layOut(header).bytes; }

}  // namespace engine
