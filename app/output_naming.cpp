#include "app/output_naming.h"

#include "engine/wav_file_name.h"
#include "runtime/paths.h"

namespace app {

std::string outputPathForFile(const std::string& inputFile) {
    return runtime::joinPath(runtime::folderPart(inputFile),
                             "zz_" + engine::wavFileName(runtime::lastComponent(inputFile)));
}

std::string outputPathForFolder(const std::string& inputFolder) {
    return runtime::joinPath(runtime::folderPart(inputFolder), "zz_" + runtime::lastComponent(inputFolder));
}

}  // namespace app
