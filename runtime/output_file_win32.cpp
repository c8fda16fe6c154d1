#include <algorithm>
#include <cwctype>
#include <optional>

#include "runtime/errors.h"
#include "runtime/handles_win32.h"
#include "runtime/input_file.h"
#include "runtime/long_path_win32.h"
#include "runtime/output_file.h"
#include "runtime/stop_cleanup.h"
#include "runtime/temporary_name.h"

namespace runtime {

struct OutputFile::Native {
    FileHandle owned;
    HANDLE handle = INVALID_HANDLE_VALUE;  // owned, or standard output's
    std::string path;                      // as the lines name it
    std::wstring target;                   // the name the output takes: path, or where its links lead
    bool inPlace = false;                  // written where path leads, not put in place
    bool fresh = false;                    // nothing at path may be replaced
    std::wstring temporary;
    std::optional<TemporaryFileEntry> entry;
    std::optional<FileIdentity> replaced;
};

namespace {

// A name the system takes for a device wherever it stands ("NUL",
// "con.txt", "COM1"), or a device or pipe of the device namespace
// ("\\.\COM1", "\\.\pipe\name"; "\\.\C:\x" is a file like another).
bool namesDevice(const std::string& path) {
    auto upper = [](std::string text) {
        for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        return text;
    };
    if (path.rfind("\\\\.\\", 0) == 0) {
        const std::string rest = upper(path.substr(4));
        if (rest.rfind("PIPE\\", 0) == 0 || rest.find('\\') == std::string::npos) return true;
    }
    std::string name = upper(lastComponent(path));
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name == "CON" || name == "NUL" || name == "PRN" || name == "AUX" || name == "CONOUT$") return true;
    return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) && name[3] >= '1' &&
           name[3] <= '9';
}

FileHandle openForQuery(const std::wstring& path, DWORD flags) {
    return FileHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

// The path the system reached the file by, links and junctions resolved,
// in the long form.
std::wstring finalPath(const FileHandle& file, const std::string& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) throw lastOSError(path);
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.resize(length);
    }
}

// What is found at a name the output is to replace.
struct Found {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    std::optional<FileIdentity> identity;
};

// Refuses what writing the file in place would have refused: a folder, or
// a read-only file (which the move would also refuse, after all the work).
void checkReplaceable(DWORD attributes, const std::string& path) {
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
        throw osErrorFromCode(ERROR_ACCESS_DENIED, path);
    }
}

std::optional<FileIdentity> identityOfOpened(const FileHandle& file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
    return identityOf(information);
}

// Creates the temporary file exclusively, listed for removal in the same
// step. Shared for deletion, so that a stop request can remove it while it
// is still being written.
void createTemporary(OutputFile::Native& native, const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        const std::wstring temporary = widen(temporaryNameBeside(narrow(native.target)));
        DWORD error = 0;
        native.entry.emplace(narrow(temporary), [&] {
            native.owned.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            error = GetLastError();
            return static_cast<bool>(native.owned);
        });
        if (*native.entry) {
            native.temporary = temporary;
            native.handle = native.owned.get();
            return;
        }
        native.entry.reset();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
            throw osErrorFromCode(error, path);
        }
    }
}

// Where a name the user gave leads: the device or pipe written in place,
// or the file to replace.
void followGiven(OutputFile::Native& native, const std::string& path) {
    if (namesDevice(path)) {
        native.owned.reset(CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        if (!native.owned) throw lastOSError(path);
        native.inPlace = true;
        return;
    }
    const FileHandle followed = openForQuery(systemPath(path), 0);
    if (!followed) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) throw osErrorFromCode(error, path);
        // A link (a reparse point) that leads nowhere is refused, as
        // writing through it would create a file somewhere unseen.
        const DWORD attributes = GetFileAttributesW(systemPath(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            throw DanglingLinkError(path);
        }
        native.target = systemPath(path);
        return;
    }
    if (GetFileType(followed.get()) != FILE_TYPE_DISK) {
        native.owned.reset(CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        if (!native.owned) throw lastOSError(path);
        native.inPlace = true;
        return;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(followed.get(), &information)) throw lastOSError(path);
    checkReplaceable(information.dwFileAttributes, path);
    native.replaced = identityOf(information);
    native.target = finalPath(followed, path);
}

// A name the program made: nothing there is followed.
void takeOwn(OutputFile::Native& native, const std::string& path) {
    native.target = exactSystemPath(absolutePath(path, currentDirectory()));
    const DWORD attributes = GetFileAttributesW(native.target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
    checkReplaceable(attributes, path);
    native.replaced = identityOfOpened(openForQuery(native.target, FILE_FLAG_OPEN_REPARSE_POINT));
}

}  // namespace

void OutputFile::readCreationMask() {}

bool outputIsWrittenInPlace(const std::string& path) {
    if (namesDevice(path)) return true;
    const FileHandle followed = openForQuery(systemPath(path), 0);
    return followed && GetFileType(followed.get()) != FILE_TYPE_DISK;
}

// Windows files take their permissions from their folder; permissions has
// nothing to say there.
OutputFile::OutputFile(const std::string& path, OutputNaming naming, std::uint32_t)
    : native_(std::make_unique<Native>()) {
    Native& native = *native_;
    native.path = path;
    if (naming == OutputNaming::given) {
        followGiven(native, path);
    } else {
        takeOwn(native, path);
        native.fresh = naming == OutputNaming::fresh;
        if (native.fresh && GetFileAttributesW(native.target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            throw osErrorFromCode(ERROR_FILE_EXISTS, path);
        }
    }
    if (native.inPlace) {
        native.handle = native.owned.get();
        native.replaced = identityOfOpened(native.owned);
        return;
    }
    createTemporary(native, path);
}

OutputFile::OutputFile(StandardOutput) : native_(std::make_unique<Native>()) {
    native_->path = "standard output";
    // Written through the handle itself, not the C runtime's stream: every
    // write's failure is then seen, a full disk as a full disk.
    native_->handle = GetStdHandle(STD_OUTPUT_HANDLE);
    native_->inPlace = true;
    native_->replaced = standardOutputIdentity();
}

const std::optional<FileIdentity>& OutputFile::replaces() const { return native_->replaced; }

bool OutputFile::inPlace() const { return native_->inPlace; }

OutputFile::~OutputFile() {
    native_->owned.reset();
    if (!native_->temporary.empty()) DeleteFileW(native_->temporary.c_str());
}

void OutputFile::reserve(std::uint64_t size) noexcept {
    if (native_->inPlace) return;
    // The allocation, not the end of the file: that stays at the bytes written.
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    (void)SetFileInformationByHandle(native_->handle, FileAllocationInfo, &allocation, sizeof allocation);
}

void OutputFile::write(const void* bytes, std::uint64_t count) {
    if (native_->handle == INVALID_HANDLE_VALUE || native_->handle == nullptr) throw writeError(EBADF);
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    // Pieces of 1 MiB, as on Linux: a write as large as a whole chunk would
    // hold the system's cache in one piece for longer than it needs to.
    constexpr std::uint64_t piece = std::uint64_t{1} << 20;
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(native_->handle, at, static_cast<DWORD>(std::min(count, piece)), &written, nullptr)) {
            throw writeError(errnoOf(GetLastError()));
        }
        if (written == 0) throw writeError(EIO);
        at += written;
        count -= written;
    }
}

std::uint64_t OutputFile::copyFrom(InputFile& input, std::uint64_t offset, std::uint64_t length) {
    // Written from the input's mapping: one copy, as the system makes it.
    if (offset >= input.size()) return 0;
    length = std::min(length, input.size() - offset);
    write(input.view(offset, length), length);
    return length;
}

void OutputFile::commit() {
    Native& native = *native_;
    if (native.handle == INVALID_HANDLE_VALUE) throw InternalError("an output was committed twice: " + native.path);
    native.handle = INVALID_HANDLE_VALUE;
    // Standard output is written unbuffered: nothing is left to flush.
    if (!native.owned) return;
    if (!CloseHandle(native.owned.release())) throw writeError(errnoOf(GetLastError()));
    if (native.temporary.empty()) return;
    if (!MoveFileExW(native.temporary.c_str(), native.target.c_str(), native.fresh ? 0 : MOVEFILE_REPLACE_EXISTING)) {
        throw lastOSError(native.path);
    }
    native.temporary.clear();
    native.entry.reset();
}

}  // namespace runtime
