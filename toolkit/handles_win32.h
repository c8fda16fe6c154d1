#pragma once
// Move-only owners of Win32 handles (runtime::UniqueHandle with the traits
// of each kind) and COM pointers. Copy is deleted; the destructor releases,
// never throws.

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include <utility>

#include "runtime/unique_handle.h"

namespace toolkit::win32 {

template <class H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { DeleteObject(handle); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { DestroyWindow(handle); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { DestroyIcon(handle); }
};

struct CursorTraits {
    using Handle = HCURSOR;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { DestroyCursor(handle); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { FreeLibrary(handle); }
};

struct AcceleratorTraits {
    using Handle = HACCEL;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { DestroyAcceleratorTable(handle); }
};

using FontHandle = runtime::UniqueHandle<GdiObjectTraits<HFONT>>;
using BrushHandle = runtime::UniqueHandle<GdiObjectTraits<HBRUSH>>;
using WindowHandle = runtime::UniqueHandle<WindowTraits>;
using IconHandle = runtime::UniqueHandle<IconTraits>;
using CursorHandle = runtime::UniqueHandle<CursorTraits>;
using ModuleHandle = runtime::UniqueHandle<ModuleTraits>;
using AcceleratorHandle = runtime::UniqueHandle<AcceleratorTraits>;

// A COM interface pointer that holds one reference.
template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* pointer) noexcept : pointer_(pointer) {}
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For out parameters: releases the old pointer first.
    T** put() noexcept {
        reset();
        return &pointer_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (T* old = std::exchange(pointer_, nullptr)) old->Release();
    }

private:
    T* pointer_ = nullptr;
};

// The screen's device context for measuring.
class ScreenDC {
public:
    ScreenDC() noexcept : dc_(GetDC(nullptr)) {}
    ~ScreenDC() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context until the end of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A storage medium filled by IDataObject::GetData, released at the end.
class StorageMedium {
public:
    StorageMedium() noexcept : medium_{} {}
    ~StorageMedium() {
        if (medium_.tymed != TYMED_NULL) ReleaseStgMedium(&medium_);
    }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    STGMEDIUM* put() noexcept { return &medium_; }
    const STGMEDIUM& get() const noexcept { return medium_; }

private:
    STGMEDIUM medium_;
};

// Memory the COM task allocator handed out (a path from a shell item).
template <class T>
class CoTaskMemory {
public:
    CoTaskMemory() noexcept = default;
    ~CoTaskMemory() { CoTaskMemFree(pointer_); }
    CoTaskMemory(const CoTaskMemory&) = delete;
    CoTaskMemory& operator=(const CoTaskMemory&) = delete;
    T** put() noexcept {
        CoTaskMemFree(std::exchange(pointer_, nullptr));
        return &pointer_;
    }
    T* get() const noexcept { return pointer_; }

private:
    T* pointer_ = nullptr;
};

}  // namespace toolkit::win32
