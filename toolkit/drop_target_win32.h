#pragma once
// The OLE drop target of a window: drags over it become wDragDropEvents.

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <vector>

#include "toolkit/event.h"
#include "toolkit/handles_win32.h"

namespace toolkit {

class wWindow;

namespace win32 {

// The file list of a dragged data object (CF_HDROP through an HGLOBAL), read
// while the data object is valid: during one drag call.
class OleDataObject : public wDataObject {
public:
    explicit OleDataObject(IDataObject* data) noexcept : data_(data) {}
    std::vector<std::string> fileList() const override;

private:
    IDataObject* data_;
};

// Paths of a CF_HDROP block in their order, as UTF-8, whatever their length.
std::vector<std::string> droppedFiles(HDROP drop);

class DropTarget;

// The window's registration with OLE for as long as it lives. Raises OSError
// when RegisterDragDrop fails.
class DropRegistration {
public:
    explicit DropRegistration(wWindow& window);
    ~DropRegistration();
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;

private:
    HWND window_;
    ComPtr<DropTarget> target_;
};

}  // namespace win32
}  // namespace toolkit
