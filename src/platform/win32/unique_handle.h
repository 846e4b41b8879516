// The one owner of a kernel handle inside the win32 backend.
#pragma once

#include <windows.h>

namespace platform::win32 {

class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~UniqueHandle() {
        if (IsValid()) CloseHandle(handle_);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace platform::win32

namespace platform::win32 {

// The one owner of a GDI object (a font, a brush) inside the win32 backend.
class UniqueGdiObject {
  public:
    explicit UniqueGdiObject(HGDIOBJ object = nullptr) : object_(object) {}
    ~UniqueGdiObject() {
        if (object_) DeleteObject(object_);
    }
    UniqueGdiObject(UniqueGdiObject&& other) noexcept : object_(other.object_) {
        other.object_ = nullptr;
    }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
    HGDIOBJ Get() const { return object_; }

  private:
    HGDIOBJ object_;
};

// The one owner of a screen device context.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

}  // namespace platform::win32
