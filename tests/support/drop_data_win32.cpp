#include "tests/support/drop_data_win32.h"

// clang-format off
#include <shlobj.h>
// clang-format on

#include <cstring>

#include "runtime/text.h"

namespace testsupport {

namespace {

HGLOBAL copyToGlobal(const void* bytes, SIZE_T size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}

}  // namespace

DropData* DropData::files(const std::vector<std::string>& paths) {
    // DROPFILES, then the wide paths each ended by a NUL, then one more NUL.
    std::wstring list;
    for (const std::string& path : paths) {
        list += runtime::widen(path);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    std::string block(sizeof(DROPFILES) + list.size() * sizeof(wchar_t), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
    return new DropData(CF_HDROP, copyToGlobal(block.data(), block.size()));
}

DropData* DropData::text(const std::wstring& text) {
    return new DropData(CF_UNICODETEXT, copyToGlobal(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
}

HRESULT DropData::QueryInterface(REFIID id, void** object) {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DropData::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DropData::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (format->cfFormat != format_ || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    // Each caller gets a copy of its own to release.
    const SIZE_T size = GlobalSize(block_);
    medium->hGlobal = copyToGlobal(GlobalLock(block_), size);
    GlobalUnlock(block_);
    medium->tymed = TYMED_HGLOBAL;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT DropData::QueryGetData(FORMATETC* format) { return format->cfFormat == format_ ? S_OK : DV_E_FORMATETC; }

HRESULT DropData::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    out->ptd = nullptr;
    return E_NOTIMPL;
}

IDropTarget* registeredDropTarget(HWND window) {
    return static_cast<IDropTarget*>(GetPropW(window, L"OleDropTargetInterface"));
}

std::vector<DWORD> dragAndDrop(HWND window, IDataObject* data, DWORD allowed) {
    IDropTarget* target = registeredDropTarget(window);
    if (!target) return {};
    std::vector<DWORD> effects;
    const POINTL point{100, 100};
    DWORD effect = allowed;
    target->DragEnter(data, MK_LBUTTON, point, &effect);
    effects.push_back(effect);
    effect = allowed;
    target->DragOver(MK_LBUTTON, point, &effect);
    effects.push_back(effect);
    effect = allowed;
    target->Drop(data, 0, point, &effect);
    effects.push_back(effect);
    return effects;
}

}  // namespace testsupport
