#include "app/output_naming.h"

#include "engine/errors.h"
#include "engine/input_failures.h"
#include "engine/wav_file_name.h"
#include "runtime/fs.h"
#include "runtime/paths.h"

namespace app {

namespace {

// The path's last component as written, before normalisation drops a "."
// or lets a ".." take the component before it away.
std::string writtenLastComponent(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && runtime::isSeparator(path[end - 1])) --end;
    std::size_t start = end;
    while (start > 0 && !runtime::isSeparator(path[start - 1])) --start;
    return path.substr(start, end - start);
}

}  // namespace

std::string outputPathForFile(const std::string& inputFile) {
    return runtime::joinPath(runtime::folderPart(inputFile),
                             "zz_" + engine::wavFileName(runtime::lastComponent(inputFile)));
}

std::string outputPathForFolder(const std::string& inputFolder) {
    std::string folder = inputFolder;
    const std::string written = writtenLastComponent(inputFolder);
    if (written == "." || written == ".." || runtime::lastComponent(inputFolder).empty()) {
        // "." or "..": the folder's real name, as the file system has it.
        folder = runtime::resolvedFolderPath(inputFolder);
        if (runtime::lastComponent(folder).empty()) throw engine::RefusalError(engine::noSuchInputLine);
    }
    return runtime::joinPath(runtime::folderPart(folder), "zz_" + runtime::lastComponent(folder));
}

std::string outputPathBeside(const std::string& input) {
    return runtime::pathKind(input) == runtime::PathKind::folder ? outputPathForFolder(input)
                                                                 : outputPathForFile(input);
}

}  // namespace app
