#pragma once
// Drives the real quenmarl.exe from outside, as a user would: starts it,
// finds its windows (only those of the process it started), and reads and
// presses its controls with messages that work across processes.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace guitest {

// A program started with CreateProcess; ended by force if it still runs
// when the object goes.
class ChildProcess {
public:
    // Runs the command line in the folder, on the named desktop when one is
    // given. Raises std::runtime_error when it cannot be started.
    ChildProcess(const std::wstring& commandLine, const std::wstring& folder, const std::wstring& desktop = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD id() const noexcept { return info_.dwProcessId; }
    // The exit status once the process has ended within the time, else nothing.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout);

private:
    PROCESS_INFORMATION info_{};
};

// Polls the condition every 20 ms until it holds or the time is up; returns
// its last value.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A visible top-level window of the process with the class and, when given,
// the title; null when there is none.
HWND findTopLevel(DWORD processId, const std::wstring& className, const std::wstring* title = nullptr);

// The same among the top-level windows of a desktop (a Wine virtual desktop);
// hidden ones too unless visibleOnly.
HWND findOnDesktop(HDESK desktop, const std::wstring& className, const std::wstring* title, bool visibleOnly = true);

// The first window below the parent, at any depth, with the class (compared
// without case) and, when id is not 0, the control id; null when none.
HWND findDescendant(HWND parent, const std::wstring& className, int id = 0);
// The same, picked by its window text instead of an id.
HWND findDescendantByText(HWND parent, const std::wstring& className, const std::wstring& text);

// The window text, read with WM_GETTEXT (which works across processes).
std::wstring windowText(HWND window);

}  // namespace guitest
