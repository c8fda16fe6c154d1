#pragma once
// wHyperlink: a static text that looks and behaves like a web link. Blue
// while unvisited, purple once followed, red while the left button is held on
// it; a hand cursor and its hover font while the pointer is over it. A
// completed click raises wMyLinkEvent and, unless a handler vetoes it, asks
// the shell to open the url.

#include <memory>
#include <string>

#include "toolkit/font_win32.h"
#include "toolkit/static_text_win32.h"
#include "ui/link_event.h"

namespace ui {

class wHyperlink : public toolkit::wStaticText {
public:
    // Creates the link on parent with the label, url, position, size and
    // static-control style (SS_LEFT, SS_CENTER, SS_RIGHT, SS_CENTERIMAGE ...),
    // to which WS_CHILD, WS_VISIBLE and SS_NOTIFY are added; fits it to its
    // label. Raises wCursorError when the hand cursor cannot be loaded, and
    // OSError.
    wHyperlink(std::shared_ptr<toolkit::wWindow> parent, std::int32_t id, const std::string& label,
               const std::string& url, toolkit::wPoint position = toolkit::wDefaultPosition,
               toolkit::wSize size = toolkit::wDefaultSize, toolkit::wStyle style = 0);

    const std::string& url() const noexcept { return url_; }
    // Replaces the url; nothing else changes.
    void setUrl(const std::string& url) { url_ = url; }

    // Applies the font at once, keeps it as the normal font, then fits.
    void setNormalFont(std::shared_ptr<toolkit::wFont> font);
    // Keeps the font for hovering; applies it and fits when the pointer is in.
    void setHoverFont(std::shared_ptr<toolkit::wFont> font);
    const std::shared_ptr<toolkit::wFont>& normalFont() const noexcept { return normalFont_; }
    const std::shared_ptr<toolkit::wFont>& hoverFont() const noexcept { return hoverFont_; }

    // Resizes the control to its best size, keeping its position.
    void fit();

    toolkit::wColor pressedColor() const noexcept { return pressedColor_; }
    toolkit::wColor visitedColor() const noexcept { return visitedColor_; }
    toolkit::wColor normalColor() const noexcept { return normalColor_; }

    bool isMouseIn() const noexcept { return isMouseIn_; }
    bool isPressed() const noexcept { return isPressed_; }
    bool isVisited() const noexcept { return isVisited_; }

private:
    toolkit::wColor restingColor() const noexcept { return isVisited_ ? visitedColor_ : normalColor_; }
    void onMouseEnter();
    void onMouseLeave();
    void onLeftDown();
    void onLeftUp();

    std::string url_;
    toolkit::wColor pressedColor_;
    toolkit::wColor visitedColor_;
    toolkit::wColor normalColor_;
    std::shared_ptr<toolkit::wFont> hoverFont_;
    std::shared_ptr<toolkit::wFont> normalFont_;
    bool isMouseIn_ = false;
    bool isPressed_ = false;
    bool isVisited_ = false;
};

}  // namespace ui
