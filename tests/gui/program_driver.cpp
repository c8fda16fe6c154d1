#include "tests/gui/program_driver.h"

#include <stdexcept>
#include <thread>
#include <vector>

namespace guitest {

namespace {

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    DWORD processId = 0;
    const std::wstring* className = nullptr;
    const std::wstring* title = nullptr;
    int id = 0;
    bool visibleOnly = true;
    HWND found = nullptr;
};

bool matchesTopLevel(HWND window, const Search& search) {
    // The style bit, not IsWindowVisible: on another desktop the latter
    // reports false for every window under Wine.
    if (search.visibleOnly && !(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE)) return false;
    if (classOf(window) != *search.className) return false;
    return !search.title || windowText(window) == *search.title;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& folder, const std::wstring& desktop) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring desktopName = desktop;
    if (!desktopName.empty()) startup.lpDesktop = desktopName.data();
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info_))
        throw std::runtime_error("cannot start the program");
}

ChildProcess::~ChildProcess() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(info_.hProcess, DWORD(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

HWND findTopLevel(DWORD processId, const std::wstring& className, const std::wstring* title) {
    Search search{processId, &className, title};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !matchesTopLevel(window, *s)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findOnDesktop(HDESK desktop, const std::wstring& className, const std::wstring* title, bool visibleOnly) {
    Search search{0, &className, title, 0, visibleOnly};
    EnumDesktopWindows(
        desktop,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!matchesTopLevel(window, *s)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findDescendant(HWND parent, const std::wstring& className, int id) {
    Search search{0, &className, nullptr, id};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (_wcsicmp(classOf(child).c_str(), s->className->c_str()) != 0) return TRUE;
            if (s->id != 0 && GetDlgCtrlID(child) != s->id) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findDescendantByText(HWND parent, const std::wstring& className, const std::wstring& text) {
    Search search{0, &className, &text};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (_wcsicmp(classOf(child).c_str(), s->className->c_str()) != 0 || windowText(child) != *s->title)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> text(1024, L'\0');
    DWORD_PTR copied = 0;
    // A hung program must not hang the test.
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &copied))
        return {};
    return std::wstring(text.data(), std::min<std::size_t>(copied, text.size()));
}

}  // namespace guitest
