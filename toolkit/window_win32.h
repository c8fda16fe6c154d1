#pragma once
// wWindow: a platform window with its place in the toolkit's window tree, its
// connections (wEventTarget) and its four layout variables (wResizable).
// Windows are shared by reference: a child holds its parent, so parents are
// released after their children, and the HWND is destroyed with the last
// reference unless the user closed it first.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/dispatcher.h"
#include "toolkit/geometry.h"
#include "toolkit/handles_win32.h"
#include "toolkit/resizable.h"

namespace toolkit {

class wAcceleratorTable;
class wApp;
class wCursor;
class wFont;

namespace win32 {
class DropRegistration;
}

// An id of -1 asks for a new one from the application.
inline constexpr std::int32_t wDefaultId = -1;

class wWindow : public wResizable, public wEventTarget, public std::enable_shared_from_this<wWindow> {
public:
    ~wWindow() override;

    wApp& app() const noexcept { return *app_; }
    const std::shared_ptr<wApp>& sharedApp() const noexcept { return app_; }
    wWindow* parent() const noexcept { return parent_.get(); }
    wEventTarget* eventParent() const noexcept override { return parent_.get(); }
    const std::vector<wWindow*>& children() const noexcept { return children_; }

    // The platform window; null once it was destroyed.
    HWND handle() const noexcept { return handle_.get(); }
    bool isAlive() const noexcept { return bool(handle_); }
    std::int32_t id() const noexcept { return id_; }

    // The outer rectangle, relative to the parent's client area (screen
    // coordinates for a top-level window).
    wRect rect() const;
    wPoint position() const;
    wSize size() const;
    wSize clientSize() const;
    // Moves and resizes without changing the z-order or activation; a
    // coordinate of wDefaultCoordinate stays as it is.
    void setRect(wRect rect);
    void move(wPoint position);
    void setSize(wSize size);
    // Centres the window on the desktop (top-level) or in its parent.
    void center();

    // ShowWindow with the command (SW_SHOWNORMAL, SW_HIDE, SW_MAXIMIZE, ...).
    virtual void show(int command = SW_SHOWNORMAL);
    bool isShown() const;
    // Destroys the platform window now; the object stays, without one.
    void destroy();

    std::string label() const;
    void setLabel(const std::string& label);

    // The font the window shows its text in (WM_SETFONT, remembered).
    const std::shared_ptr<wFont>& font() const noexcept { return font_; }
    void setFont(std::shared_ptr<wFont> font);

    // The text colour used when the control paints; setting only records it.
    std::optional<wColor> foregroundColor() const noexcept { return foreground_; }
    void setForegroundColor(wColor color);
    // The background colour; children without their own paint on it.
    std::optional<wColor> backgroundColor() const noexcept { return background_; }
    virtual void setBackgroundColor(wColor color);

    // The cursor shown over the client area; when it changes and the pointer
    // is over the window, WM_SETCURSOR is sent so it shows at once.
    const std::shared_ptr<wCursor>& cursor() const noexcept { return cursor_; }
    void setCursor(std::shared_ptr<wCursor> cursor);

    const std::shared_ptr<wAcceleratorTable>& acceleratorTable() const noexcept { return accelerators_; }
    void setAcceleratorTable(std::shared_ptr<wAcceleratorTable> table) { accelerators_ = std::move(table); }

    // Registers the window as an OLE drop target (RegisterDragDrop): drags
    // over it raise evtDragEnter, evtDragOver, evtDragLeave and evtDrop as
    // wDragDropEvents. Raises OSError.
    void setDropTarget(bool enabled);
    bool isDropTarget() const noexcept { return bool(dropRegistration_); }

    // True between the mouse-enter event and the mouse leave.
    bool isMouseInWindow() const noexcept { return mouseTracked_; }

    // Invalidates the whole client area, erasing the background if asked.
    void refresh(bool eraseBackground = true);

    // The size the window would like; the current size unless a class knows
    // better.
    virtual wSize bestSize() const;

    // The toolkit window of a platform window, or null.
    static wWindow* fromHandle(HWND window) noexcept;

    // The window procedure's work for this window (both window procedures
    // call it). Errors pass through to them.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    struct CreateParams {
        std::wstring className;
        std::string label;
        wStyle style = 0;  // window style low, extended style high; toolkit flags ignored
        wPoint position = wDefaultPosition;
        wSize size = wDefaultSize;
        wSize defaultSize{};  // what a default child size becomes
        std::int32_t id = wDefaultId;
        bool platformControl = false;  // subclassed instead of a toolkit class
    };

    // parent null: a top-level window.
    wWindow(std::shared_ptr<wApp> app, std::shared_ptr<wWindow> parent);

    // Creates the platform window; each class's constructor calls it once.
    // Raises OSError.
    void create(const CreateParams& params);

    // The font a new window starts with: its parent's, or the default font.
    std::shared_ptr<wFont> inheritedFont() const;

    // Rethrows an error that a handler raised inside a platform call this
    // window just made.
    void checkPendingError() const;

    bool defaultProcessing(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::intptr_t& result) override;

    // A WM_COMMAND notification from this control, passed on by its parent.
    // Returns true when handled.
    virtual bool commandNotification(UINT code);

    // WM_CTLCOLOR* passed on by the parent: sets the colours and returns the
    // brush to paint with, or null for the platform's colours.
    virtual HBRUSH controlColor(HDC dc);

    // This window's background brush, or the nearest parent's.
    const wWindow* backgroundSource() const noexcept;
    HBRUSH backgroundBrush() const noexcept { return backgroundBrush_.get(); }

private:
    void trackMouse(WPARAM wParam, LPARAM lParam);
    void detach() noexcept;
    void forget() noexcept;
    void handleDestroyed() noexcept;

    std::shared_ptr<wApp> app_;
    std::shared_ptr<wWindow> parent_;
    std::vector<wWindow*> children_;
    win32::WindowHandle handle_;
    bool platformControl_ = false;
    bool mouseTracked_ = false;
    std::int32_t id_ = 0;
    std::shared_ptr<wFont> font_;
    std::optional<wColor> foreground_;
    std::optional<wColor> background_;
    win32::BrushHandle backgroundBrush_;
    std::shared_ptr<wCursor> cursor_;
    std::shared_ptr<wAcceleratorTable> accelerators_;
    std::unique_ptr<win32::DropRegistration> dropRegistration_;
};

}  // namespace toolkit
