// A drop simulated through the drop target that the window registered with
// OLE, with a CF_HDROP data object of the test's own.
// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
// clang-format on

#include <cstring>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "tests/toolkit/win32_support.h"
#include "toolkit/frame.h"
#include "toolkit/message_numbers.h"
#include "toolkit/panel.h"
#include "toolkit/text_ctrl.h"

using namespace toolkit;
using toolkittest::AppTest;

namespace {

// A data object offering one format: CF_HDROP with the paths, or CF_UNICODETEXT.
class TestData final : public IDataObject {
public:
    static TestData* files(const std::vector<std::string>& paths) { return new TestData(CF_HDROP, dropFiles(paths)); }
    static TestData* text(const std::wstring& text) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(block);
        return new TestData(CF_UNICODETEXT, block);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format->cfFormat != format_ || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        // Each caller gets its own copy to release.
        const SIZE_T size = GlobalSize(block_);
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(copy), GlobalLock(block_), size);
        GlobalUnlock(copy);
        GlobalUnlock(block_);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        ++getDataCalls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int getDataCalls = 0;

private:
    TestData(CLIPFORMAT format, HGLOBAL block) : format_(format), block_(block) {}
    ~TestData() { GlobalFree(block_); }

    // DROPFILES followed by the wide paths, each ended by a NUL, and one more NUL.
    static HGLOBAL dropFiles(const std::vector<std::string>& paths) {
        std::wstring list;
        for (const std::string& path : paths) {
            list += runtime::widen(path);
            list.push_back(L'\0');
        }
        list.push_back(L'\0');
        const SIZE_T size = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(block);
        return block;
    }

    ULONG references_ = 1;
    CLIPFORMAT format_;
    HGLOBAL block_;
};

// The target OLE holds for the window: what a real drag would talk to.
IDropTarget* registeredTarget(HWND window) {
    return static_cast<IDropTarget*>(GetPropW(window, L"OleDropTargetInterface"));
}

class DropTest : public AppTest {
protected:
    std::shared_ptr<wFrame> frame = std::make_shared<wFrame>(app, "drop", wPoint{120, 120}, wSize{418, 350});
    std::shared_ptr<wPanel> panel = std::make_shared<wPanel>(frame);
    std::shared_ptr<wTextCtrl> box = std::make_shared<wTextCtrl>(panel, wDefaultId, "drop here", wDefaultPosition,
                                                                 wSize{300, 200}, ES_MULTILINE | ES_READONLY | wTeRich);

    std::vector<std::vector<std::string>> drops;

    void bindLikeTheProgram() {
        bindHandler<wDragDropEvent>(*box, evtDragEnter, [](wDragDropEvent& event) { event.setEffect(dropEffectCopy); });
        bindHandler<wDragDropEvent>(*box, evtDrop,
                                    [this](wDragDropEvent& event) { drops.push_back(event.fileList()); });
    }

    // DragEnter, DragOver and Drop as OLE calls them; returns the effects.
    std::vector<DWORD> drag(IDataObject* data, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
        IDropTarget* target = registeredTarget(box->handle());
        EXPECT_NE(target, nullptr);
        if (!target) return {};
        std::vector<DWORD> effects;
        POINTL point{150, 150};
        DWORD effect = allowed;
        EXPECT_EQ(target->DragEnter(data, MK_LBUTTON, point, &effect), S_OK);
        effects.push_back(effect);
        effect = allowed;
        EXPECT_EQ(target->DragOver(MK_LBUTTON, point, &effect), S_OK);
        effects.push_back(effect);
        effect = allowed;
        EXPECT_EQ(target->Drop(data, 0, point, &effect), S_OK);
        effects.push_back(effect);
        return effects;
    }
};

TEST_F(DropTest, DroppedPathsReachTheBoundHandlerInOrder) {
    box->setDropTarget(true);
    bindLikeTheProgram();
    const std::string longPath = "C:\\deep\\" + std::string(300, 'x') + "\\file.bin";  // beyond MAX_PATH
    const std::vector<std::string> paths{"C:\\music\\a song.mp3", "C:\\data\\r\u00e9sum\u00e9 \u65e5\u672c.pdf",
                                         longPath, "C:\\photos"};
    TestData* data = TestData::files(paths);
    EXPECT_EQ(drag(data), (std::vector<DWORD>{DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY}));
    data->Release();
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops.front(), paths);
}

TEST_F(DropTest, TextDropShowsTheCopyEffectButCarriesNoFiles) {
    box->setDropTarget(true);
    bindLikeTheProgram();
    TestData* data = TestData::text(L"selected text");
    EXPECT_EQ(drag(data).front(), DWORD(DROPEFFECT_COPY));
    data->Release();
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_TRUE(drops.front().empty());
}

TEST_F(DropTest, WithoutAHandlerTheDragIsRefused) {
    box->setDropTarget(true);
    TestData* data = TestData::files({"C:\\a"});
    EXPECT_EQ(drag(data), (std::vector<DWORD>{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    data->Release();
}

TEST_F(DropTest, EffectIsLimitedToWhatTheSourceAllows) {
    box->setDropTarget(true);
    bindLikeTheProgram();
    TestData* data = TestData::files({"C:\\a"});
    EXPECT_EQ(drag(data, DROPEFFECT_MOVE).front(), DWORD(DROPEFFECT_NONE));
    data->Release();
}

TEST_F(DropTest, OnlyTheRegisteredWindowIsADropTarget) {
    box->setDropTarget(true);
    EXPECT_TRUE(box->isDropTarget());
    EXPECT_EQ(registeredTarget(panel->handle()), nullptr);
    EXPECT_EQ(registeredTarget(frame->handle()), nullptr);
    box->setDropTarget(false);
    EXPECT_EQ(registeredTarget(box->handle()), nullptr);
}

TEST_F(DropTest, HandlerErrorStaysPendingAndTheDropIsRefused) {
    box->setDropTarget(true);
    bindHandler(*box, evtDragEnter, wPlainHandler([] { throw runtime::ValueError("refused"); }));
    TestData* data = TestData::files({"C:\\a"});
    IDropTarget* target = registeredTarget(box->handle());
    ASSERT_NE(target, nullptr);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_NE(target->DragEnter(data, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    target->DragLeave();
    data->Release();
    EXPECT_THROW(app->dispatcher().rethrowPendingError(), runtime::ValueError);
}

TEST_F(DropTest, DestroyedWindowRevokesItsTarget) {
    box->setDropTarget(true);
    HWND handle = box->handle();
    frame->destroy();
    EXPECT_FALSE(box->isDropTarget());
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
