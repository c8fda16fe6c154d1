#include "app/gui/actions.h"
#include "app/output_naming.h"
#include "runtime/clock.h"
#include "toolkit/dir_dialog.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_numbers.h"

namespace app {

namespace {

void convertAndShow(MainWindow& window, const std::string& input, const std::string& output) {
    showStatus(window, convertInput(input, output, window.settingsTable, window.configFolder));
}

}  // namespace

void onOpenFolder(MainWindow& window) {
    toolkit::wDirDialog dialog(window.mainFrame, "Select a dir", "", 0);
    if (!dialog.showModal() || dialog.path().empty()) return;
    convertAndShow(window, dialog.path(), outputPathForFolder(dialog.path()));
}

void onOpenFile(MainWindow& window) {
    toolkit::wFileDialog dialog(window.mainFrame, "Select a file", "", "", "*.*", 0);
    if (!dialog.showModal() || dialog.path().empty()) return;
    convertAndShow(window, dialog.path(), outputPathForFile(dialog.path()));
}

void onDragEnter(toolkit::wDragDropEvent& event) { event.setEffect(toolkit::dropEffectCopy); }

void onDrop(MainWindow& window, toolkit::wDragDropEvent& event) {
    for (const std::string& path : event.fileList()) {
        const std::optional<std::string> output = outputPathForDropped(path);
        if (!output) continue;
        convertAndShow(window, path, *output);
    }
}

void showStatus(MainWindow& window, const std::string& message) {
    window.statusBar->setStatusText(statusLine(message, runtime::timeOfDayText()));
}

}  // namespace app
