#include <windows.h>

#include "app/config/config_file.h"
#include "app/gui/error_report.h"
#include "app/gui/main_window.h"
#include "app/gui/startup.h"
#include "toolkit/errors.h"

namespace app {

namespace {

int runMainWindow(SettingsTable& settingsTable) {
    ensureConfigFile(defaultConfigText, configFileName);
    const std::unique_ptr<MainWindow> window = buildMainWindow(settingsTable);
    placeMainFrame(*window);
    window->mainFrame->show(SW_SHOWNORMAL);
    window->app->run();
    return 0;
}

}  // namespace

int runQuenmarl() noexcept {
    try {
        SettingsTable settingsTable;
        // Both the normal end and an error release the window's parts in
        // reverse order of creation, the settings store last.
        return runMainWindow(settingsTable);
    } catch (const ConfigFolderError&) {
        return 1;
    } catch (const toolkit::wLibraryError& error) {
        // A missing shell binding stops the program with its own text alone.
        showErrorBox(error.what());
        return 1;
    } catch (const std::exception& error) {
        showErrorBox(unhandledErrorReport(error));
        return 1;
    } catch (...) {
        showErrorBox("Error: unhandled exception: unknown error [unknown]\n");
        return 1;
    }
}

}  // namespace app
