#include "app/config/config_file.h"

#include <cerrno>
#include <thread>

#include "runtime/c_file.h"
#include "runtime/console.h"
#include "runtime/fs.h"
#include "runtime/paths.h"

namespace app {

namespace {

// Long enough for a slow share or a virus scanner to show a file just
// written; short enough that start-up cannot hang for ever.
constexpr std::chrono::milliseconds fileAppearLimit{5000};

// Creates the folder and any missing parents. False when one cannot be made.
bool createFolderTree(const std::string& folder) {
    if (runtime::pathKind(folder) == runtime::PathKind::folder) return true;
    const std::string parent = runtime::folderPart(folder);
    if (!parent.empty() && parent != folder && !createFolderTree(parent)) return false;
    try {
        return runtime::createFolder(folder) != runtime::CreateFolderOutcome::existsAsOther;
    } catch (const runtime::OSError&) {
        return false;
    }
}

bool isMissingOrEmpty(const std::string& path) {
    switch (runtime::pathKind(path)) {
        case runtime::PathKind::none:
            return true;
        case runtime::PathKind::file:
            return runtime::directoryEntrySize(path) == 0;
        case runtime::PathKind::folder:
            // Not a file we may keep; writing it fails with "cannot open".
            return true;
        case runtime::PathKind::special:
            // A pipe or a device: opening it to write may block for ever.
            throw runtime::NotAFileError(path);
    }
    return true;
}

void writeContent(const std::string& path, std::string_view content) {
    runtime::CFile file = runtime::openFileForWriting(path);
    if (!file) throw runtime::IOError("cannot open: " + path);
    if (std::fwrite(content.data(), 1, content.size(), file.get()) != content.size()) {
        throw runtime::writeError(errno);
    }
    if (!file.closeChecked()) throw runtime::writeError(errno);
}

}  // namespace

std::string executableFolder() { return runtime::folderPart(runtime::executablePath()); }

std::string configFilePath(const std::string& folder) { return runtime::joinPath(folder, configFileName); }

std::string configFilePath() { return configFilePath(executableFolder()); }

void ensureConfigFile(std::string_view content, std::string_view fileName) {
    ensureConfigFile(content, fileName, executableFolder());
}

void ensureConfigFile(std::string_view content, std::string_view fileName, const std::string& folder) {
    const std::string path = runtime::joinPath(folder, fileName);
    const std::string parent = runtime::folderPart(path);
    if (!createFolderTree(parent)) {
        runtime::printLine("Failed to create directory: " + parent);
        throw ConfigFolderError(parent);
    }
    if (isMissingOrEmpty(path)) writeContent(path, content);
    waitUntilFileExists(path, fileAppearLimit);
}

void waitUntilFileExists(const std::string& path, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (runtime::pathKind(path) != runtime::PathKind::file) {
        if (std::chrono::steady_clock::now() >= deadline) throw runtime::IOError("file did not appear: " + path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void loadSettings(SettingsTable& settings) { loadSettings(settings, executableFolder()); }

void loadSettings(SettingsTable& settings, const std::string& folder) {
    loadSettingsFile(settings, configFilePath(folder));
}

void loadSettingsFile(SettingsTable& settings, const std::string& path) {
    // Missing or a folder: the settings keep their values. Anything else is
    // read, or says why not (without ever blocking on a pipe or a device).
    const runtime::PathKind kind = runtime::pathKind(path);
    if (kind == runtime::PathKind::none || kind == runtime::PathKind::folder) return;
    updateSettings(settings, readConfigFile(path));
}

}  // namespace app
