#include "toolkit/frame_win32.h"

#include "toolkit/icon_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/status_bar_win32.h"

namespace toolkit {

wFrame::wFrame(std::shared_ptr<wApp> app, const std::string& title, wPoint position, wSize size, wStyle style,
               const std::wstring& className)
    : wWindow(std::move(app), nullptr) {
    CreateParams params;
    params.className = className;
    params.label = title;
    params.style = style & ~wStyle(WS_VISIBLE);
    params.position = position;
    params.size = size;
    create(params);
    // The frame's own size handling sits in the user list and skips, so the
    // program's size handlers on the frame still run.
    bindHandler(*this, evtSize, wEventHandler([this](wEvent& event) {
        layoutChildren();
        event.skip();
    }));
}

void wFrame::setIcon(std::shared_ptr<wIcon> icon) {
    icon_ = std::move(icon);
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_ ? icon_->handle() : nullptr));
}

void wFrame::show(int command) {
    wWindow::show(command);
    // The first size event may have come before the child existed, or before
    // the frame was attached: size the child now.
    layoutChildren();
}

void wFrame::layoutChildren() {
    if (!isAlive()) return;
    RECT client{};
    GetClientRect(handle(), &client);
    int statusHeight = 0;
    if (statusBar_ && statusBar_->isAlive()) {
        // A status bar places itself at the bottom when told of a size change.
        SendMessageW(statusBar_->handle(), WM_SIZE, 0, 0);
        if (statusBar_->isShown()) statusHeight = statusBar_->size().height;
    }
    wWindow* only = nullptr;
    for (wWindow* child : children()) {
        if (child == statusBar_ || !child->isAlive()) continue;
        if (only) return;  // more than one: the program places them
        only = child;
    }
    if (!only) return;
    const int height = client.bottom - client.top - statusHeight;
    only->setRect({0, 0, client.right - client.left, height > 0 ? height : 0});
}

}  // namespace toolkit
