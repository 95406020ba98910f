#pragma once

#include <windows.h>

#include <utility>

namespace morvane::win32 {

// Owns one handle and closes it: a kernel object's (CloseHandle) or a search's (FindClose).
template <BOOL(WINAPI* Close)(HANDLE)>
class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE)
        : handle_(handle == nullptr ? INVALID_HANDLE_VALUE : handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.handle_, INVALID_HANDLE_VALUE));
        return *this;
    }
    ~OwnedHandle() { reset(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

    // Closes the handle held, if any, and holds `handle` instead.
    void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        if (valid())
            Close(handle_);
        handle_ = handle == nullptr ? INVALID_HANDLE_VALUE : handle;
    }

  private:
    HANDLE handle_;
};

using Handle = OwnedHandle<CloseHandle>;
using FindHandle = OwnedHandle<FindClose>;

}  // namespace morvane::win32
