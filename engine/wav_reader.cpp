#include "engine/wav_reader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "runtime/input_file.h"

namespace engine {

std::uint64_t InputFileBytes::size() const { return file_.size(); }

std::uint64_t InputFileBytes::read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    return file_.read(offset, length, destination);
}

std::uint64_t MemoryBytes::read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    if (offset >= bytes_.size()) return 0;
    const std::uint64_t count = std::min<std::uint64_t>(length, bytes_.size() - offset);
    std::memcpy(destination, bytes_.data() + offset, count);
    return count;
}

WavData findWavData(runtime::InputFile& file) {
    InputFileBytes bytes(file);
    return findWavData(bytes);
}

namespace {

// "RIFF" (4) + its size (4) + "WAVE" (4).
constexpr std::uint64_t riffHeaderSize = 12;
// A chunk's four-byte id and 32-bit little-endian size.
constexpr std::uint64_t chunkHeaderSize = 8;
// Format tag, channels, rate, byte rate, block align, bits: 2+2+4+4+2+2.
constexpr std::uint32_t plainFmtSize = 16;
// Then cbSize, valid bits, channel mask (2+2+4) and the 16-byte sub-format
// GUID, whose first two bytes are the sub-format's tag.
constexpr std::uint32_t extensibleFmtSize = 40;
constexpr std::size_t subFormatAt = 24;
// RIFF size, data size, sample count (8 each) and the table's length (4).
constexpr std::uint32_t ds64Size = 28;
// A 32-bit size of all ones: "see the ds64 chunk" in RF64, "unknown" in a
// plain RIFF file.
constexpr std::uint32_t openSize = 0xFFFFFFFF;
// What sox claims for data it writes to a pipe, where it cannot go back to
// the size: the data run to the end of the file when it holds fewer.
constexpr std::uint32_t soxStreamSize = 0x7FFFF000;

std::uint16_t u16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }
std::uint32_t u32(const std::uint8_t* at) { return u16(at) | std::uint32_t{u16(at + 2)} << 16; }
std::uint64_t u64(const std::uint8_t* at) { return u32(at) | std::uint64_t{u32(at + 4)} << 32; }

bool isId(const std::uint8_t* at, const char (&id)[5]) { return std::memcmp(at, id, 4) == 0; }

// The id as the messages show it: quoted, bytes that are not printable
// escaped, so that a crafted id cannot break the caller's line.
std::string quotedId(const std::uint8_t* id) {
    std::string text = "\"";
    for (int i = 0; i < 4; ++i) {
        if (id[i] >= 0x20 && id[i] < 0x7F && id[i] != '"' && id[i] != '\\') {
            text += static_cast<char>(id[i]);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", id[i]);
            text += escaped;
        }
    }
    return text + "\"";
}

// Reads [offset, offset + length), which the source's size says it holds.
void readAt(ByteSource& source, std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    if (source.read(offset, length, destination) != length) {
        throw WavError(WavProblem::fileShrank, "the file became shorter while it was read");
    }
}

WavError tooShort(const char* what, std::uint64_t size, std::uint32_t needed) {
    return WavError(WavProblem::chunkTooShort, std::string("the ") + what + " is too short: " + std::to_string(size) +
                                                   " bytes, its fields take " + std::to_string(needed));
}

WavError pastEnd(const std::uint8_t* id, std::uint64_t offset, std::uint32_t size, std::uint64_t left) {
    return WavError(WavProblem::chunkPastEnd, "a chunk runs past the end of the file: " + quotedId(id) + " at byte " +
                                                  std::to_string(offset) + " claims " + std::to_string(size) +
                                                  " bytes, " + std::to_string(left) + " follow its header");
}

// The data size of the ds64 chunk whose body starts at body.
std::uint64_t readDs64DataSize(ByteSource& source, std::uint64_t body, std::uint32_t size) {
    if (size < ds64Size) throw tooShort("ds64 chunk", size, ds64Size);
    std::array<std::uint8_t, 16> sizes{};  // the RIFF size, then the data size
    readAt(source, body, sizes.size(), sizes.data());
    return u64(&sizes[8]);
}

WavFormat readFormat(ByteSource& source, std::uint64_t body, std::uint32_t size) {
    if (size < plainFmtSize) throw tooShort("fmt chunk", size, plainFmtSize);
    std::array<std::uint8_t, extensibleFmtSize> fields{};
    readAt(source, body, std::min(size, extensibleFmtSize), fields.data());
    WavFormat format;
    format.formatTag = u16(&fields[0]);
    format.channels = u16(&fields[2]);
    format.sampleRate = u32(&fields[4]);
    format.bitsPerSample = u16(&fields[14]);
    if (format.formatTag == wavFormatExtensible) {
        if (size < extensibleFmtSize) throw tooShort("fmt chunk of an extensible format", size, extensibleFmtSize);
        format.subFormatTag = u16(&fields[subFormatAt]);
    }
    return format;
}

}  // namespace

WavData findWavData(ByteSource& source) {
    const std::uint64_t size = source.size();
    std::array<std::uint8_t, riffHeaderSize> head{};
    const auto notWave = [] { return WavError(WavProblem::notWave, "not a RIFF/WAVE file"); };
    if (size < riffHeaderSize) throw notWave();
    readAt(source, 0, riffHeaderSize, head.data());
    const bool rf64 = isId(&head[0], "RF64") || isId(&head[0], "BW64");
    if ((!rf64 && !isId(&head[0], "RIFF")) || !isId(&head[8], "WAVE")) throw notWave();
    // The RIFF size is not trusted: writers that streamed leave it 0 or
    // wrong, and the chunks themselves say where everything lies.

    std::optional<WavData> data;
    std::optional<WavFormat> format;
    std::optional<std::uint64_t> ds64DataSize;
    bool dataReachEnd = false;  // nothing can follow the data chunk
    std::uint64_t offset = riffHeaderSize;
    // Every step moves at least a chunk header on, and stops at the end:
    // offset never exceeds size, so size - offset never wraps.
    for (std::uint32_t count = 0; size - offset >= chunkHeaderSize; ++count) {
        if (count == maxWavChunks) {
            throw WavError(WavProblem::tooManyChunks,
                           "more than " + std::to_string(maxWavChunks) + " chunks without both a fmt and a data chunk");
        }
        std::array<std::uint8_t, chunkHeaderSize> header{};
        readAt(source, offset, chunkHeaderSize, header.data());
        const std::uint32_t size32 = u32(&header[4]);
        const std::uint64_t body = offset + chunkHeaderSize;
        const std::uint64_t left = size - body;
        if (rf64 && count == 0 && !isId(&header[0], "ds64")) {
            throw WavError(WavProblem::noDs64, std::string("no ds64 chunk at the start of the ") +
                                                   (isId(&head[0], "RF64") ? "RF64" : "BW64") + " file");
        }
        // Only the data may be cut off: the caller still takes what is there.
        if (!isId(&header[0], "data") && size32 > left) throw pastEnd(&header[0], offset, size32, left);

        std::uint64_t chunkSize = size32;
        if (isId(&header[0], "data")) {
            std::optional<std::uint64_t> claimed = size32;
            if (size32 == openSize) claimed = rf64 ? ds64DataSize : std::nullopt;
            if (size32 == soxStreamSize && size32 > left && !rf64) claimed = std::nullopt;
            if (!data) data = WavData{body, claimed, claimed ? std::min(*claimed, left) : left, {}, rf64};
            if (!claimed || *claimed >= left) {
                dataReachEnd = true;
                break;
            }
            chunkSize = *claimed;
        } else if (rf64 && count == 0) {
            ds64DataSize = readDs64DataSize(source, body, size32);
        } else if (isId(&header[0], "fmt ") && !format) {
            format = readFormat(source, body, size32);
        }
        if (data && format) break;

        // A chunk of odd size is followed by a pad byte, which the last
        // chunk of a file may lack.
        const std::uint64_t end = body + chunkSize;  // within the file: checked above
        if (end == size) break;
        offset = end + (chunkSize & 1);
    }

    if (!data) throw WavError(WavProblem::noData, "no data chunk");
    if (!format) {
        throw WavError(WavProblem::noFmt,
                       dataReachEnd ? "no fmt chunk before the data, which reach the end of the file" : "no fmt chunk");
    }
    data->format = *format;
    return *data;
}

}  // namespace engine
