#pragma once
// ShellExecuteW, bound by name from "shell32" when the application starts.

#include <windows.h>

#include <string>

#include "toolkit/handles_win32.h"

namespace toolkit::win32 {

class ShellBinding {
public:
    // Loads "shell32" and looks up "ShellExecuteW". Raises wLibraryError:
    // "could not load: shell32" or "could not import: ShellExecuteW".
    ShellBinding();

    // ShellExecuteW(no owner, "open", address, no parameters, no directory,
    // SW_SHOW); the result is not examined.
    void open(const std::wstring& address) const;

private:
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    ModuleHandle library_;
    ShellExecuteFunction shellExecute_ = nullptr;
};

}  // namespace toolkit::win32
