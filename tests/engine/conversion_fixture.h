#pragma once
// Shared by the conversion tests: a temp folder, writing inputs, reading
// outputs, and catching the engine's console lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/dc_filter.h"
#include "engine/errors.h"
#include "engine/wav_header.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace engine {

// The complete WAV file the engine must write for this input, from the
// reference filter.
inline testsupport::Bytes expectedWav(const testsupport::Bytes& input, bool dcFilter, std::int32_t rate,
                                      std::uint16_t bits, std::uint16_t channels) {
    const auto header = wavHeaderBytes(writeWavHeader(static_cast<std::uint32_t>(input.size()), rate, bits, channels));
    testsupport::Bytes wav(header.size() + input.size());
    std::copy(header.begin(), header.end(), wav.begin());
    std::copy(input.begin(), input.end(), wav.begin() + static_cast<std::ptrdiff_t>(header.size()));
    if (dcFilter) {
        applyDcFilter(wav.data() + header.size(), input.data(), static_cast<std::int64_t>(input.size()), bits);
    }
    return wav;
}

class ConversionTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_ / name; }

    std::string write(const std::string& name, const testsupport::Bytes& bytes) const {
        const std::string full = path(name);
        testsupport::writeFile(full, bytes);
        return full;
    }

    static testsupport::Bytes read(const std::string& full) { return testsupport::readFile(full); }

    // What the engine prints while body runs, line by line.
    template <class Body>
    static std::vector<std::string> linesPrintedBy(Body body) {
        ::testing::internal::CaptureStdout();
        try {
            body();
        } catch (...) {
            ::testing::internal::GetCapturedStdout();
            throw;
        }
        const std::string text = ::testing::internal::GetCapturedStdout();
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            start = end + 1;
        }
        return lines;
    }

    // The line body prints about an input it does not convert, checked to
    // be its only line and the message of the error it raises.
    template <class Body>
    static std::string failureLine(Body body) {
        std::string message = "(no error)";
        const auto lines = linesPrintedBy([&] {
            try {
                body();
            } catch (const InputError& error) {
                message = error.what();
            }
        });
        EXPECT_EQ(lines, std::vector<std::string>{message});
        return message;
    }

    testsupport::TempFolder folder_;
};

}  // namespace engine
