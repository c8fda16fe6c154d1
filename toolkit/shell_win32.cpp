#include "toolkit/shell_win32.h"

#include "toolkit/errors.h"

namespace toolkit::win32 {

ShellBinding::ShellBinding() : library_(LoadLibraryW(L"shell32")) {
    if (!library_) throw wLibraryError("could not load: shell32");
    shellExecute_ = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_.get(), "ShellExecuteW")));
    if (!shellExecute_) throw wLibraryError("could not import: ShellExecuteW");
}

void ShellBinding::open(const std::wstring& address) const {
    shellExecute_(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace toolkit::win32
