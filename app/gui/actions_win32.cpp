#include "app/gui/actions.h"
#include "app/output_naming.h"
#include "runtime/clock.h"
#include "runtime/fs.h"
#include "toolkit/dir_dialog.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_numbers.h"

namespace app {

namespace {

void convertAndShow(MainWindow& window, const std::string& input, OutputNamer outputFor) {
    showStatus(window, convertInput(input, outputFor, window.settingsTable, window.configFolder));
}

}  // namespace

void onOpenFolder(MainWindow& window) {
    toolkit::wDirDialog dialog(window.mainFrame, "Select a dir", "", 0);
    if (!dialog.showModal() || dialog.path().empty()) return;
    convertAndShow(window, dialog.path(), outputPathForFolder);
}

void onOpenFile(MainWindow& window) {
    toolkit::wFileDialog dialog(window.mainFrame, "Select a file", "", "", "*.*", 0);
    if (!dialog.showModal() || dialog.path().empty()) return;
    convertAndShow(window, dialog.path(), outputPathForFile);
}

void onDragEnter(toolkit::wDragDropEvent& event) { event.setEffect(toolkit::dropEffectCopy); }

void onDrop(MainWindow& window, toolkit::wDragDropEvent& event) {
    for (const std::string& path : event.fileList()) {
        if (runtime::pathKind(path) == runtime::PathKind::none) continue;
        convertAndShow(window, path, outputPathBeside);
    }
}

void showStatus(MainWindow& window, const std::string& message) {
    window.statusBar->setStatusText(statusLine(message, runtime::timeOfDayText()));
}

}  // namespace app
