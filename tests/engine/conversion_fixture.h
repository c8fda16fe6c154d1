#pragma once
// Shared by the conversion tests: a temp folder, writing inputs, reading
// outputs, and catching the engine's console lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/conversion_observer.h"
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

    // The lines a program prints of what the engine reports while body
    // runs (body passes the observer it is given on to the engine), the
    // line of an input error it raises last. The engine itself prints
    // nothing.
    template <class Body>
    static std::vector<std::string> linesReportedBy(Body body) {
        struct Lines : ConversionObserver {
            std::vector<std::string> lines;
            void outputFolderCreated(const std::string& folder) override {
                lines.push_back(folder + " did not exist and was created for you.");
            }
            void fileNotConverted(const std::string&, const std::string& line) override { lines.push_back(line); }
        } reported;
        ::testing::internal::CaptureStdout();
        try {
            body(static_cast<ConversionObserver*>(&reported));
        } catch (const InputError& error) {
            reported.lines.push_back(error.what());
        }
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        return reported.lines;
    }

    // The line of the input error body raises, checked to be all it reports.
    template <class Body>
    static std::string failureLine(Body body) {
        std::string message = "(no error)";
        const auto lines = linesReportedBy([&](ConversionObserver*) {
            try {
                body();
            } catch (const InputError& error) {
                message = error.what();
            }
        });
        EXPECT_TRUE(lines.empty());
        return message;
    }

    testsupport::TempFolder folder_;
};

}  // namespace engine
