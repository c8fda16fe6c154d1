#include "toolkit/app.h"
#include "toolkit/cursor_win32.h"
#include "toolkit/message_numbers.h"
#include "ui/hyperlink.h"

namespace ui {

using namespace toolkit;

wHyperlink::wHyperlink(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& label,
                       const std::string& url, wPoint position, wSize size, wStyle style)
    : wStaticText(std::move(parent), id, label, position, size, style | SS_NOTIFY),
      url_(url),
      pressedColor_(rgb(255, 0, 0)),
      visitedColor_(rgb(85, 26, 139)),
      normalColor_(rgb(0, 0, 255)) {
    fit();
    setCursor(app().handCursor());
    setForegroundColor(normalColor_);
    normalFont_ = font();
    hoverFont_ = normalFont_->withUnderline(true);
    bindHandler(*this, evtMouseEnter, wPlainHandler([this] { onMouseEnter(); }));
    bindHandler(*this, wmMouseLeave, wPlainHandler([this] { onMouseLeave(); }));
    bindHandler(*this, wmLeftButtonDown, wPlainHandler([this] { onLeftDown(); }));
    bindHandler(*this, wmLeftButtonUp, wPlainHandler([this] { onLeftUp(); }));
}

void wHyperlink::setNormalFont(std::shared_ptr<wFont> font) {
    setFont(font);
    normalFont_ = std::move(font);
    fit();
}

void wHyperlink::setHoverFont(std::shared_ptr<wFont> font) {
    hoverFont_ = std::move(font);
    if (isMouseIn_) {
        setFont(hoverFont_);
        fit();
    }
}

void wHyperlink::fit() { setSize(bestSize()); }

void wHyperlink::onMouseEnter() {
    isMouseIn_ = true;
    setFont(hoverFont_);
    setForegroundColor(isPressed_ ? pressedColor_ : restingColor());
    fit();
    refresh();
}

void wHyperlink::onMouseLeave() {
    isMouseIn_ = false;
    setFont(normalFont_);
    setForegroundColor(restingColor());
    fit();
    refresh();
}

void wHyperlink::onLeftDown() {
    isPressed_ = true;
    SetCapture(handle());
    setForegroundColor(pressedColor_);
    refresh();
}

void wHyperlink::onLeftUp() {
    const bool wasPressed = isPressed_;
    isPressed_ = false;
    ReleaseCapture();
    // The colour from before this click: a first follow stays blue until the
    // pointer next leaves.
    setForegroundColor(restingColor());
    refresh();
    if (!isMouseIn_ || !wasPressed) return;
    if (url_.empty()) {
        isVisited_ = true;
        return;
    }
    wMyLinkEvent event(this);
    const bool processed = dispatchEvent(event);
    if (!(processed && event.result() == 1)) app().openUrl(url_);
    isVisited_ = true;
}

}  // namespace ui
