#pragma once
// A data object as a drag source offers it: one format, CF_HDROP with a file
// list or CF_UNICODETEXT with text, for driving the program's drop target.

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include <string>
#include <vector>

namespace testsupport {

class DropData final : public IDataObject {
public:
    // New objects start with one reference; Release() them when done.
    static DropData* files(const std::vector<std::string>& paths);
    static DropData* text(const std::wstring& text);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    DropData(CLIPFORMAT format, HGLOBAL block) : format_(format), block_(block) {}
    ~DropData() { GlobalFree(block_); }

    ULONG references_ = 1;
    CLIPFORMAT format_;
    HGLOBAL block_;
};

// What a drag of the data over the window and a drop on it answer: the
// effects of DragEnter, DragOver and Drop, as the registered target (the one
// OLE would call) gives them. Empty when the window is no drop target.
std::vector<DWORD> dragAndDrop(HWND window, IDataObject* data,
                               DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);

// The drop target OLE holds for the window, or null.
IDropTarget* registeredDropTarget(HWND window);

}  // namespace testsupport
