#pragma once
// The move-only owner of one platform handle (a file descriptor, a Win32
// handle, a GDI object...). Copy is deleted, so a handle is closed exactly
// once; the destructor closes and never throws. Portable: what a handle is
// and how it is closed come from the traits.

#include <utility>

namespace runtime {

// Traits: a type Handle, static Handle invalid() noexcept (the value that
// owns nothing) and static void close(Handle) noexcept.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    // Takes ownership of the handle.
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

    // Gives up ownership without closing and returns the handle.
    Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    // Closes the handle owned (if any) and takes ownership of the new one.
    void reset(Handle handle = Traits::invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::invalid();
};

}  // namespace runtime
