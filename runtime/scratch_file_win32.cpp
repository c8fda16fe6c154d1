#include <algorithm>

#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/long_path_win32.h"
#include "runtime/paths.h"
#include "runtime/scratch_file_native_win32.h"
#include "runtime/temporary_name.h"

namespace runtime {

namespace {

FileHandle createScratch() {
    const std::string base = joinPath(temporaryFolder(), "quenmarl-input");
    for (int attempt = 0;; ++attempt) {
        const std::string path = temporaryNameBeside(base);
        // Deleted by the system when its last handle closes, however the
        // process ends; shared with nobody but a deletion.
        FileHandle file(CreateFileW(systemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file) return file;
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
            throw osErrorFromCode(error, path);
        }
    }
}

}  // namespace

ScratchFile::ScratchFile() : native_(std::make_unique<Native>()) { native_->handle = createScratch(); }

ScratchFile::~ScratchFile() = default;
ScratchFile::ScratchFile(ScratchFile&&) noexcept = default;
ScratchFile& ScratchFile::operator=(ScratchFile&&) noexcept = default;

void ScratchFile::write(const void* bytes, std::uint64_t count) {
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(native_->handle.get(), at, static_cast<DWORD>(std::min<std::uint64_t>(count, 1 << 20)), &written,
                       nullptr)) {
            throw writeError(errnoOf(GetLastError()));
        }
        at += written;
        count -= written;
    }
}

}  // namespace runtime
