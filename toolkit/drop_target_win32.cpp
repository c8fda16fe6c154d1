#include "toolkit/drop_target_win32.h"

#include <exception>

#include "runtime/errors.h"
#include "runtime/text.h"
#include "toolkit/message_numbers.h"
#include "toolkit/window_win32.h"

namespace toolkit::win32 {

std::vector<std::string> droppedFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Sized from the entry itself: no MAX_PATH cut.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(std::size_t(length) + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        files.push_back(runtime::narrow(path));
    }
    return files;
}

std::vector<std::string> OleDataObject::fileList() const {
    if (!data_) return {};
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StorageMedium medium;
    if (FAILED(data_->GetData(&format, medium.put())) || medium.get().tymed != TYMED_HGLOBAL) return {};
    return droppedFiles(static_cast<HDROP>(medium.get().hGlobal));
}

// The COM object OLE calls during a drag. It raises the drag events on its
// window; once the registration ends it answers "no drop" to late calls.
class DropTarget final : public IDropTarget {
public:
    explicit DropTarget(wWindow& window) noexcept : window_(&window) {}

    void detach() noexcept {
        window_ = nullptr;
        dragData_.reset();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return ULONG(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        // Refused unless a handler asks for an effect.
        return raise(evtDragEnter, data, keys, point, effect, dropEffectNone);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        // Without a handler the effect chosen on entry holds for the drag.
        return raise(evtDragOver, nullptr, keys, point, effect, lastEffect_);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        DWORD effect = dropEffectNone;
        const HRESULT result = raise(evtDragLeave, nullptr, 0, POINTL{0, 0}, &effect, dropEffectNone);
        lastEffect_ = dropEffectNone;
        return result;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        const HRESULT result = raise(evtDrop, data, keys, point, effect, lastEffect_);
        lastEffect_ = dropEffectNone;
        return result;
    }

private:
    ~DropTarget() = default;

    HRESULT raise(std::int32_t message, IDataObject* data, DWORD keys, POINTL point, DWORD* effect,
                  DWORD initial) noexcept {
        if (!effect) return E_INVALIDARG;
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!window_) return S_OK;
        if (data) {
            // Held for the drag under way: drag over reads the same data.
            data->AddRef();
            dragData_ = ComPtr<IDataObject>(data);
        }
        OleDataObject dataObject(message == evtDragLeave ? nullptr : dragData_.get());
        wDragDropEvent event(window_, message, &dataObject, initial & allowed, allowed);
        event.setKeyState(keyState(keys));
        event.setMousePosition(wPoint{point.x, point.y});
        try {
            window_->dispatcher().raise(event, false);
        } catch (...) {
            // A COM call must not unwind: the error waits for the loop.
            window_->dispatcher().setPendingError(std::current_exception());
            dragData_.reset();
            return E_UNEXPECTED;
        }
        // Only what the source allows can be answered.
        *effect = event.effect() & allowed;
        lastEffect_ = *effect;
        if (message == evtDrop || message == evtDragLeave) dragData_.reset();
        return S_OK;
    }

    static std::uint32_t keyState(DWORD keys) noexcept {
        std::uint32_t state = 0;
        if (keys & MK_SHIFT) state |= keyShift;
        if (keys & MK_CONTROL) state |= keyControl;
        if (keys & MK_ALT) state |= keyAlt;
        if (keys & MK_LBUTTON) state |= keyLeftButton;
        if (keys & MK_RBUTTON) state |= keyRightButton;
        if (keys & MK_MBUTTON) state |= keyMiddleButton;
        return state;
    }

    LONG references_ = 1;
    wWindow* window_;
    ComPtr<IDataObject> dragData_;
    DWORD lastEffect_ = DROPEFFECT_NONE;
};

DropRegistration::DropRegistration(wWindow& window) : window_(window.handle()), target_(new DropTarget(window)) {
    HRESULT result = RegisterDragDrop(window_, target_.get());
    if (result == DRAGDROP_E_ALREADYREGISTERED) {
        // A rich edit registers its own target; ours replaces it.
        RevokeDragDrop(window_);
        result = RegisterDragDrop(window_, target_.get());
    }
    if (FAILED(result)) {
        target_->detach();
        throw runtime::osErrorFromCode(std::uint32_t(result), "RegisterDragDrop");
    }
}

DropRegistration::~DropRegistration() {
    RevokeDragDrop(window_);
    target_->detach();
}

}  // namespace toolkit::win32
