#pragma once
// The application object: one per process, on the user-interface thread. It
// starts OLE and the common controls, binds the shell's open call, owns the
// dispatch state (connected messages, live windows, filters) and runs the
// message loop. Windows hold a reference to it, so it outlives them all.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/dispatcher.h"

namespace toolkit {

class wCursor;
class wFont;

// Opens a web or mail address the way the shell does.
using wUrlOpener = std::function<void(const std::string& url)>;

class wApp {
public:
    // Starts the toolkit on the calling thread: OLE (single-threaded), the
    // common controls, the rich-edit library when present, and ShellExecuteW
    // bound by name from "shell32". Installs the loop's filters: keyboard
    // accelerators, dialog navigation, quit handling. Raises wLibraryError
    // ("could not load: shell32" / "could not import: ShellExecuteW") and
    // OSError.
    static std::shared_ptr<wApp> create();
    ~wApp();
    wApp(const wApp&) = delete;
    wApp& operator=(const wApp&) = delete;

    wDispatcher& dispatcher() noexcept;

    // Runs the message loop while a window lives; returns the word parameter
    // of the message that ended it. An error raised by a handler ends the
    // loop and is rethrown here.
    std::uintptr_t run();

    // Windows created and not yet destroyed.
    std::size_t windowCount() const noexcept;

    // The toolkit's default font: the system's message font at its own size,
    // weight 400. Top-level windows start with it; children inherit their
    // parent's font.
    const std::shared_ptr<wFont>& defaultFont() const noexcept;

    // The system hand cursor, loaded once on first use and shared by every
    // caller. Raises wCursorError.
    std::shared_ptr<wCursor> handCursor();

    // Opens the address: by default ShellExecuteW with no owner, verb "open",
    // no parameters, no directory and SW_SHOW; its result is not examined.
    void openUrl(const std::string& url) const;
    // Replaces the opener (tests observe links through this seam).
    void setUrlOpener(wUrlOpener opener);

    // True when "msftedit.dll" was loaded, so text controls can be rich edits.
    bool hasRichEdit() const noexcept;

    // A child window id not used before by this application.
    std::int32_t newWindowId() noexcept;

    // Registers one of the toolkit's window classes once. Raises OSError.
    void registerWindowClass(const std::wstring& className);

private:
    wApp();
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace toolkit
