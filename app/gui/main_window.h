#pragma once
// The main window: a frame whose panel carries the help text box (the drop
// target), the two buttons and the two links, with a status bar below. One
// object owns every part and is what the handlers reach.

#include <memory>

#include "app/config/settings_table.h"
#include "app/gui/convert_input.h"
#include "toolkit/app.h"
#include "toolkit/button_win32.h"
#include "toolkit/frame_win32.h"
#include "toolkit/panel_win32.h"
#include "toolkit/status_bar_win32.h"
#include "toolkit/text_ctrl_win32.h"
#include "ui/hyperlink.h"
#include "ui/panel_layout.h"

namespace app {

struct MainWindow {
    MainWindow(SettingsTable& settings, ConfigFolder folder)
        : settingsTable(settings), configFolder(std::move(folder)) {}
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The store the actions refresh and read; owned by start-up, which
    // outlives this object.
    SettingsTable& settingsTable;
    ConfigFolder configFolder;

    // In creation order. Members go in reverse order, so the layout goes
    // first, then the status bar and the controls, the panel, the frame and
    // last the application object that every window refers to.
    std::shared_ptr<toolkit::wApp> app;
    std::shared_ptr<toolkit::wFrame> mainFrame;
    std::shared_ptr<toolkit::wPanel> mainPanel;
    std::shared_ptr<toolkit::wTextCtrl> helpText;
    std::shared_ptr<toolkit::wButton> openFolderButton;
    std::shared_ptr<toolkit::wButton> openFileButton;
    std::shared_ptr<ui::wHyperlink> homeLink;
    std::shared_ptr<ui::wHyperlink> contactLink;
    std::shared_ptr<toolkit::wStatusBar> statusBar;
    std::unique_ptr<ui::PanelLayout> panelLayout;
};

// Builds the main window, hidden: the application object, the frame with its
// small icon from the executable, the panel, the help text box with its
// texts, the buttons, the links, the status bar, the captions, and the
// handlers (the panel's size to the layout, drag and drop and the buttons to
// the actions). Raises toolkit::wLibraryError, wIconError, wFontError,
// wCursorError and OSError from the toolkit.
std::unique_ptr<MainWindow> buildMainWindow(SettingsTable& settingsTable, ConfigFolder configFolder = {});

// Applies the title, the links' captions and targets and the help text once
// more, then loads the help text as rich text (skipped when the box is a
// plain edit control, which keeps the plain text). Raises OSError when the
// rich text cannot be read.
void applyCaptions(MainWindow& window);

// Places the frame so that its right and bottom edges lie 100 pixels inside
// the primary screen's (its full size, task bar included); centres it on a
// screen too small for that.
void placeMainFrame(MainWindow& window);

}  // namespace app
