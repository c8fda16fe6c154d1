// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include "runtime/errors.h"
#include "runtime/paths.h"
#include "runtime/text.h"
#include "toolkit/dispatcher.h"
#include "toolkit/file_dialog.h"
#include "toolkit/window_win32.h"

namespace toolkit {

namespace {

// Room for the longest path Windows knows, or for many names at once.
constexpr std::size_t bufferLength = 1u << 16;

}  // namespace

std::wstring fileDialogFilter(const std::string& wildcard) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = wildcard.find('|', start);
        parts.push_back(wildcard.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (parts.size() == 1) parts.push_back(parts.front());
    if (parts.size() % 2 != 0) parts.pop_back();
    std::wstring filter;
    for (const std::string& part : parts) {
        filter += runtime::widen(part);
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    return filter;
}

std::vector<std::string> fileDialogPaths(const std::wstring& buffer) {
    std::vector<std::wstring> items;
    std::size_t start = 0;
    while (start < buffer.size() && buffer[start] != L'\0') {
        std::size_t end = buffer.find(L'\0', start);
        if (end == std::wstring::npos) end = buffer.size();
        items.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::string> paths;
    if (items.size() == 1) {
        paths.push_back(runtime::narrow(items.front()));
    } else if (items.size() > 1) {
        const std::string folder = runtime::narrow(items.front());
        for (std::size_t i = 1; i < items.size(); ++i)
            paths.push_back(runtime::joinPath(folder, runtime::narrow(items[i]), runtime::PathStyle::windows));
    }
    return paths;
}

wFileDialog::wFileDialog(std::shared_ptr<wWindow> parent, const std::string& message, const std::string& defaultDir,
                         const std::string& defaultFile, const std::string& wildcard, wStyle style)
    : parent_(std::move(parent)),
      message_(message),
      defaultDir_(defaultDir),
      defaultFile_(defaultFile),
      wildcard_(wildcard),
      style_(style) {}

bool wFileDialog::showModal() {
    paths_.clear();
    std::wstring buffer = runtime::widen(defaultFile_);
    buffer.resize(bufferLength, L'\0');
    const std::wstring filter = fileDialogFilter(wildcard_);
    const std::wstring title = runtime::widen(message_);
    const std::wstring folder = runtime::widen(defaultDir_);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = parent_ ? parent_->handle() : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = DWORD(buffer.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (style_ & wFdMultiple) dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (style_ & wFdFileMustExist) dialog.Flags |= OFN_FILEMUSTEXIST;

    const BOOL confirmed = GetOpenFileNameW(&dialog);
    // Handlers of the program's windows ran inside the dialog's own loop.
    if (parent_) parent_->dispatcher().rethrowPendingError();
    if (!confirmed) {
        const DWORD error = CommDlgExtendedError();
        if (error != 0) throw runtime::OSError(error, "common dialog error", "GetOpenFileNameW");
        return false;
    }
    paths_ = fileDialogPaths(buffer);
    return true;
}

}  // namespace toolkit
