#include "app/gui/actions.h"
#include "app/gui/captions.h"
#include "app/gui/main_window.h"
#include "runtime/text.h"
#include "toolkit/font_win32.h"
#include "toolkit/icon_win32.h"
#include "toolkit/message_numbers.h"
#include "ui/main_panel_layout.h"

namespace app {

namespace {

using namespace toolkit;

constexpr double helpTextPoints = 12.0;
constexpr double controlPoints = 9.5;

void createHelpText(MainWindow& window) {
    window.helpText = std::make_shared<wTextCtrl>(window.mainPanel, wDefaultId, "", wDefaultPosition, wDefaultSize,
                                                  ES_MULTILINE | ES_READONLY | wTeRich);
    window.helpText->setDropTarget(true);
    window.helpText->setMargins(15, 15);
    window.helpText->setFont(std::make_shared<wFont>(helpTextPoints, FW_NORMAL));
    window.helpText->setValue(helpText());
    window.helpText->setModified(false);
}

void createButtons(MainWindow& window) {
    window.openFolderButton = std::make_shared<wButton>(window.mainPanel, wDefaultId, std::string(openFolderCaption));
    window.openFileButton = std::make_shared<wButton>(window.mainPanel, wDefaultId, std::string(openFileCaption));
    // Each button its own font object.
    for (const auto& button : {window.openFolderButton, window.openFileButton})
        button->setFont(std::make_shared<wFont>(controlPoints, FW_NORMAL, false));
}

void createLinks(MainWindow& window) {
    window.homeLink = std::make_shared<ui::wHyperlink>(window.mainPanel, wDefaultId, std::string(homeLinkCaption),
                                                       std::string(homePageUrl), wDefaultPosition, wDefaultSize,
                                                       SS_CENTER | SS_CENTERIMAGE);
    window.contactLink = std::make_shared<ui::wHyperlink>(window.mainPanel, wDefaultId, std::string(contactLinkCaption),
                                                          std::string(supportUrl), wDefaultPosition, wDefaultSize,
                                                          SS_RIGHT | SS_CENTERIMAGE);
    for (const auto& link : {window.homeLink, window.contactLink}) {
        link->setNormalFont(std::make_shared<wFont>(controlPoints, FW_NORMAL, false));
        link->setHoverFont(std::make_shared<wFont>(controlPoints, FW_BOLD, true));
    }
}

// The handlers capture the window object, which owns the windows that hold
// the connections: it outlives every call.
void bindHandlers(MainWindow& window) {
    MainWindow* self = &window;
    bindHandler(*window.mainPanel, evtSize, wPlainHandler([self] {
        ui::layoutMainPanel(self->panelLayout, self->mainPanel,
                            ui::MainPanelControls{self->helpText, self->homeLink, self->openFolderButton,
                                                  self->openFileButton, self->contactLink});
    }));
    bindHandler<wDragDropEvent>(*window.helpText, evtDragEnter, [](wDragDropEvent& event) { onDragEnter(event); });
    bindHandler<wDragDropEvent>(*window.helpText, evtDrop, [self](wDragDropEvent& event) { onDrop(*self, event); });
    bindHandler(*window.openFolderButton, evtButton, wPlainHandler([self] { onOpenFolder(*self); }));
    bindHandler(*window.openFileButton, evtButton, wPlainHandler([self] { onOpenFile(*self); }));
}

}  // namespace

std::unique_ptr<MainWindow> buildMainWindow(SettingsTable& settingsTable, ConfigFolder configFolder) {
    auto window = std::make_unique<MainWindow>(settingsTable, std::move(configFolder));
    window->app = wApp::create();
    window->mainFrame =
        std::make_shared<wFrame>(window->app, std::string(mainFrameTitle), wDefaultPosition, wSize{418, 350},
                                 wDefaultFrameStyle | extendedStyle(WS_EX_COMPOSITED), L"wFrame");
    // No file and index 0: the first icon of the program's own executable.
    window->mainFrame->setIcon(std::make_shared<wIcon>("", 0));
    window->mainPanel = std::make_shared<wPanel>(window->mainFrame, wDefaultPosition, wDefaultSize, 0, L"wPanel");
    createHelpText(*window);
    createButtons(*window);
    createLinks(*window);
    window->statusBar = std::make_shared<wStatusBar>(window->mainFrame);
    applyCaptions(*window);
    bindHandlers(*window);
    return window;
}

void applyCaptions(MainWindow& window) {
    window.mainFrame->setLabel(std::string(mainFrameTitle));
    window.homeLink->setLabel(std::string(homeLinkCaption));
    window.homeLink->setUrl(std::string(homePageUrl));
    window.contactLink->setLabel(std::string(contactLinkCaption));
    window.contactLink->setUrl(std::string(supportUrl));
    const std::string plain = helpText();
    window.helpText->setValue(plain);
    if (window.helpText->isRich())
        window.helpText->loadRtf(helpTextRtf(plain, runtime::narrow(messageFontFace()), helpTextPoints));
}

}  // namespace app
