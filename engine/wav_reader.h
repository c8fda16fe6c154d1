#pragma once
// The way back from a WAV file to bytes: finds where a RIFF/WAVE file's data
// lie and the format that describes them. Reads what audio editors write,
// not only our own 44-byte header: chunks in any order (the data before the
// fmt chunk too), odd-sized chunks and their pad byte, unknown chunks,
// WAVE_FORMAT_EXTENSIBLE, RF64 and BW64 with their 64-bit sizes, and a data
// size left open by a writer that streamed.
//
// The file may come from anyone: chunk headers are read with small fixed
// reads and chunk bodies skipped by position, nothing is read past the end,
// nothing is allocated by a size the file gives, and at most maxWavChunks
// chunks are looked at.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "runtime/errors.h"

namespace runtime {
class InputFile;
}  // namespace runtime

namespace engine {

// Bytes read by position: a file, or memory for tests and fuzzing.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies the bytes [offset, offset + length) into destination and
    // returns how many there were: fewer only past the end (or, for a file,
    // when it has become shorter since it was opened).
    virtual std::uint64_t read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) = 0;
};

// An open input file as a ByteSource: its size when opened, and its reads,
// which raise OSError.
class InputFileBytes final : public ByteSource {
public:
    explicit InputFileBytes(runtime::InputFile& file) : file_(file) {}
    std::uint64_t size() const override;
    std::uint64_t read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) override;

private:
    runtime::InputFile& file_;
};

// Bytes in memory as a ByteSource; they must outlive it.
class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::uint64_t read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) override;

private:
    std::span<const std::uint8_t> bytes_;
};

inline constexpr std::uint16_t wavFormatPcm = 1;
inline constexpr std::uint16_t wavFormatFloat = 3;
inline constexpr std::uint16_t wavFormatAlaw = 6;
inline constexpr std::uint16_t wavFormatMulaw = 7;
inline constexpr std::uint16_t wavFormatExtensible = 0xFFFE;

// The fields of the fmt chunk that say what the data are.
struct WavFormat {
    std::uint16_t formatTag = 0;
    // For WAVE_FORMAT_EXTENSIBLE the format tag its sub-format GUID starts
    // with (1 PCM, 3 float, ...); 0 for every other format.
    std::uint16_t subFormatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
};

// Where a WAV file's data lie, and their format.
struct WavData {
    std::uint64_t offset = 0;  // of the data chunk's first byte in the file
    // The data's size as the file gives it; none where the file leaves it
    // open (0xFFFFFFFF in a plain RIFF file, as a writer that streamed leaves
    // it, or the 0x7FFFF000 sox writes to a pipe when the file holds less):
    // the data then run to the end of the file.
    std::optional<std::uint64_t> claimedSize;
    // The data's bytes the file holds: claimedSize, or fewer when the file is
    // cut off inside the data. offset + presentSize never exceeds its size.
    std::uint64_t presentSize = 0;
    WavFormat format;
    bool rf64 = false;  // an RF64 or BW64 file, whose data size came from its ds64 chunk

    // The bytes the file claims but does not hold.
    std::uint64_t missingBytes() const { return claimedSize ? *claimedSize - presentSize : 0; }
};

// What is wrong with a file that is no WAV file the reader can take.
enum class WavProblem {
    notWave,        // no RIFF, RF64 or BW64 header of form WAVE
    noDs64,         // an RF64 or BW64 file whose first chunk is no ds64 chunk
    chunkTooShort,  // a fmt or ds64 chunk smaller than its fields
    chunkPastEnd,   // a chunk other than the data runs past the end of the file
    noData,         // no data chunk
    noFmt,          // no fmt chunk within the file
    tooManyChunks,  // maxWavChunks chunks without both a fmt and a data chunk
    fileShrank,     // the file became shorter while it was read
};

// A file the reader does not take. what() is the reason, without "ERROR: ".
class WavError : public runtime::Error {
public:
    WavError(WavProblem problem, const std::string& reason) : Error(reason), problem_(problem) {}
    WavProblem problem() const noexcept { return problem_; }
    const char* typeName() const noexcept override { return "WavError"; }

private:
    WavProblem problem_;
};

// Real files have a handful of chunks; a crafted one of millions of empty
// chunks is refused after this many instead of being read header by header.
inline constexpr std::uint32_t maxWavChunks = 65536;

// Finds the first data chunk and the first fmt chunk of the WAV file in
// source, and stops reading once it has both. Raises WavError, and what the
// source's reads raise.
WavData findWavData(ByteSource& source);

// The same for an open input file. Raises WavError and OSError.
WavData findWavData(runtime::InputFile& file);

}  // namespace engine
