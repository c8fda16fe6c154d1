#include "app/cli/standard_input.h"

#include <vector>

#include "engine/errors.h"
#include "engine/input_failures.h"
#include "engine/wav_header.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/scratch_file.h"
#include "runtime/standard_streams.h"

namespace app {

std::unique_ptr<runtime::InputFile> readStandardInputWhole(std::uint64_t limit) {
    const std::optional<runtime::SourceFile> origin = runtime::standardInputFile();
    std::uint64_t size = 0;
    try {
        runtime::ScratchFile copy;
        std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
        while (const std::size_t got = runtime::readStandardInput(buffer.data(), buffer.size())) {
            size += got;
            // Read no further than the output can take.
            if (size > limit) throw engine::ConversionError("ERROR: Input too large for a WAV file: -");
            copy.write(buffer.data(), got);
        }
        if (size == 0) throw engine::RefusalError(engine::emptyInputLine);
        return std::make_unique<runtime::InputFile>(std::move(copy), "-", origin);
    } catch (const engine::InputError&) {
        throw;
    } catch (const runtime::Error& error) {
        throw engine::ConversionError(std::string("ERROR: Could not save standard input: ") + error.what());
    }
}

}  // namespace app
