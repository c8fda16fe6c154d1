#pragma once
// One file's conversion in two steps, readied and then run, so that a
// folder batch can ready the next files on one thread while another writes
// the ones before. Neither step prints: a file that is not converted raises
// an InputError whose message is its line, for the caller to print in turn.
//
// Who does what: readying (any thread) checks the input against the output,
// creates the output under its temporary name, plans the conversion and
// reads a small input whole. run() is one loop on the thread that calls it,
// the converting thread: it takes each chunk's output bytes from the plan's
// source and writes them, in order. For a large input the source keeps the
// next chunks going on the workers of the pool (as many as there are
// processors besides the converting thread) while it writes.

#include <memory>
#include <span>
#include <string>

#include "engine/chunk_source.h"
#include "engine/conversion_plan.h"
#include "engine/conversion_settings.h"
#include "runtime/output_file.h"

namespace runtime {
class InputFile;
}  // namespace runtime

namespace engine {

class ConversionObserver;

// Opens the input at path (relative to the current folder when not
// absolute). Raises RefusalError "ERROR: Input is not a regular file" for
// what is not a plain file when opened, ConversionError "ERROR: Could not
// read " + path + ": " + the reason when it cannot be opened.
std::unique_ptr<runtime::InputFile> openInputFile(const std::string& path);

// Creates the output at path (see runtime::OutputFile). Raises
// ConversionError "ERROR: Could not create " + path + ": " + the reason.
std::unique_ptr<runtime::OutputFile> openOutputFile(const std::string& path, runtime::OutputNaming naming,
                                                    std::uint32_t permissions);

// Puts the output in place. Raises ConversionError "ERROR: Could not write
// " + outputName + ": " + the reason, or "ERROR: Could not create " +
// outputName + ": " + the reason when it cannot take its name.
void commitOutputFile(runtime::OutputFile& output, const std::string& outputName);

class FileConversion {
public:
    // Writes to standard output instead of a file.
    struct ToStandardOutput {};

    // Readies the conversion of input, which the lines call inputPath, into
    // outputPath, named as naming says (only dcFilter, the rate, the bit
    // depth and the channels of the settings count): checks that the input
    // is not the output itself and fits a WAV header, creates the output
    // under its temporary name, and reads a small input whole. Raises
    // RefusalError "You cannot set the same input and output file for
    // safety reasons", ConversionError "ERROR: Input too large for a WAV
    // file: " + inputPath or "ERROR: Could not create " + outputPath + ": "
    // + the reason, and what the reads raise (see run).
    FileConversion(std::unique_ptr<runtime::InputFile> input, std::string inputPath, const std::string& outputPath,
                   runtime::OutputNaming naming, const ConversionSettings& settings);
    FileConversion(std::unique_ptr<runtime::InputFile> input, std::string inputPath, ToStandardOutput,
                   const ConversionSettings& settings);
    // An output not put in place is removed.
    ~FileConversion();
    FileConversion(const FileConversion&) = delete;
    FileConversion& operator=(const FileConversion&) = delete;

    // Writes the header and the data, then puts the output in place. Raises
    // ConversionError "ERROR: Could not allocate data for DC filter", "ERROR:
    // Could not write " + output + ": " + reason, "ERROR: Input changed
    // during conversion: " + inputPath, "ERROR: Could not read " + inputPath
    // + ": " + reason; the output is then removed.
    void run(ConversionObserver* observer);

    // True when run() converts on the calling thread alone: the input was
    // read whole when readied. A large input's run() uses the pool.
    bool runsAlone() const;

    // True when the input was read whole when readied and is to be
    // filtered: several such conversions filter faster together.
    bool filtersInputReadWhole() const;
    // Filters the inputs of these conversions (each filtersInputReadWhole(),
    // all with one plan's bit depth and kernels) side by side on the calling
    // thread; their run() then only writes.
    static void filterTogether(std::span<FileConversion* const> conversions);

private:
    void ready();

    std::unique_ptr<runtime::InputFile> input_;
    const std::string inputPath_;
    std::string outputName_;
    std::unique_ptr<runtime::OutputFile> output_;
    const ConversionSettings settings_;
    const ConversionPlan plan_;
    std::unique_ptr<WholeInput> whole_;  // the input read whole, when small
};

}  // namespace engine
