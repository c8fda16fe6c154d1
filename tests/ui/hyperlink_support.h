#pragma once
// A window with a link on a panel, and the opener seam recording what the
// link asks the shell to open.

#include <memory>
#include <string>
#include <vector>

#include "tests/toolkit/win32_support.h"
#include "toolkit/frame_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/panel_win32.h"
#include "ui/hyperlink.h"

namespace uitest {

class HyperlinkTest : public toolkittest::AppTest {
protected:
    // Far from where the pointer tests move the real pointer.
    toolkit::wPoint framePosition{40, 40};
    std::shared_ptr<toolkit::wFrame> frame;
    std::shared_ptr<toolkit::wPanel> panel;
    std::shared_ptr<ui::wHyperlink> link;
    std::vector<std::string> opened;

    void SetUp() override {
        app->setUrlOpener([this](const std::string& url) { opened.push_back(url); });
        frame = std::make_shared<toolkit::wFrame>(app, "link test", framePosition, toolkit::wSize{418, 350});
        panel = std::make_shared<toolkit::wPanel>(frame);
        link = std::make_shared<ui::wHyperlink>(panel, toolkit::wDefaultId, "Visit Home",
                                                "https://quenmarl.example.org/", toolkit::wDefaultPosition,
                                                toolkit::wDefaultSize, SS_CENTER | SS_CENTERIMAGE);
        frame->show();
        link->move({15, 100});
    }

    void TearDown() override {
        // Links and windows go before the application, in reverse order.
        link.reset();
        panel.reset();
        frame.reset();
    }

    // The messages the link's handlers take, as the window procedure gets them.
    void enter() { SendMessageW(link->handle(), toolkit::evtMouseEnter, 0, 0); }
    void leave() { SendMessageW(link->handle(), WM_MOUSELEAVE, 0, 0); }
    void press() { SendMessageW(link->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }
    void release() { SendMessageW(link->handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2)); }
    void click() {
        press();
        release();
    }
};

}  // namespace uitest
