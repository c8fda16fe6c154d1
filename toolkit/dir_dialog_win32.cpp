// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <shobjidl.h>
// clang-format on

#include "runtime/errors.h"
#include "runtime/text.h"
#include "toolkit/dir_dialog.h"
#include "toolkit/dispatcher.h"
#include "toolkit/handles_win32.h"
#include "toolkit/window_win32.h"

namespace toolkit {

namespace {

void check(HRESULT result, const char* call) {
    if (FAILED(result)) throw runtime::osErrorFromCode(std::uint32_t(result), call);
}

}  // namespace

wDirDialog::wDirDialog(std::shared_ptr<wWindow> parent, const std::string& message, const std::string& defaultPath,
                       wStyle)
    : parent_(std::move(parent)), message_(message), defaultPath_(defaultPath) {}

bool wDirDialog::showModal() {
    path_.clear();
    win32::ComPtr<IFileOpenDialog> dialog;
    check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog, dialog.putVoid()),
          "CoCreateInstance FileOpenDialog");
    FILEOPENDIALOGOPTIONS options = 0;
    check(dialog->GetOptions(&options), "IFileOpenDialog::GetOptions");
    check(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM), "IFileOpenDialog::SetOptions");
    check(dialog->SetTitle(runtime::widen(message_).c_str()), "IFileOpenDialog::SetTitle");
    if (!defaultPath_.empty()) {
        win32::ComPtr<IShellItem> folder;
        // A starting folder that does not exist is no reason to fail.
        if (SUCCEEDED(SHCreateItemFromParsingName(runtime::widen(defaultPath_).c_str(), nullptr, IID_IShellItem,
                                                  folder.putVoid())))
            dialog->SetFolder(folder.get());
    }

    const HRESULT shown = dialog->Show(parent_ ? parent_->handle() : nullptr);
    // Handlers of the program's windows ran inside the dialog's own loop.
    if (parent_) parent_->dispatcher().rethrowPendingError();
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return false;
    check(shown, "IFileOpenDialog::Show");

    win32::ComPtr<IShellItem> result;
    check(dialog->GetResult(result.put()), "IFileOpenDialog::GetResult");
    win32::CoTaskMemory<wchar_t> path;
    check(result->GetDisplayName(SIGDN_FILESYSPATH, path.put()), "IShellItem::GetDisplayName");
    path_ = runtime::narrow(path.get());
    return true;
}

}  // namespace toolkit
