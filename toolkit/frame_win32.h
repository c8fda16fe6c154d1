#pragma once
// wFrame: a top-level window that keeps its one ordinary child sized to its
// client area less the status bar.

#include <memory>
#include <string>

#include "toolkit/window_win32.h"

namespace toolkit {

class wIcon;
class wStatusBar;

// WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN.
inline constexpr wStyle wDefaultFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

class wFrame : public wWindow {
public:
    // A hidden top-level window with the title, position, outer size, style
    // word and window class name given. Raises OSError.
    wFrame(std::shared_ptr<wApp> app, const std::string& title, wPoint position = wDefaultPosition,
           wSize size = wDefaultSize, wStyle style = wDefaultFrameStyle, const std::wstring& className = L"wFrame");

    // Sets the icon the frame shows in its title bar (WM_SETICON, ICON_SMALL)
    // and keeps it alive with the frame.
    void setIcon(std::shared_ptr<wIcon> icon);

    // Shows the frame and sizes its child to it.
    void show(int command = SW_SHOWNORMAL) override;

    // The status bar at the frame's bottom, if one was created on it.
    wStatusBar* statusBar() const noexcept { return statusBar_; }

    // Places the status bar and sizes the one ordinary child (any child but
    // the status bar) to the client area above it. Runs on every size event.
    void layoutChildren();

    // Called by wStatusBar when it is created on the frame or goes away.
    void attachStatusBar(wStatusBar* statusBar) noexcept { statusBar_ = statusBar; }

private:
    std::shared_ptr<wIcon> icon_;
    wStatusBar* statusBar_ = nullptr;
};

}  // namespace toolkit
