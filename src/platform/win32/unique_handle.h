// The owners of Win32 handles inside the win32 backend: one traits type per kind says what
// the handle is, which value means "none" and how it is closed; UniqueAny does the rest.
#pragma once

#include <windows.h>

#include "base/unique_any.h"

namespace platform::win32 {

// A kernel handle from a function that fails with null (processes, threads, events).
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
using UniqueHandle = base::UniqueAny<KernelHandleTraits>;

// A kernel handle from a function that fails with INVALID_HANDLE_VALUE (CreateFileW).
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) {
        if (handle) ::CloseHandle(handle);  // a null that slipped in is not closed
    }
};
using UniqueFile = base::UniqueAny<FileHandleTraits>;

// A GDI object the program created (a font, a brush, a bitmap).
template <typename Handle>
struct GdiObjectTraits {
    using Type = Handle;
    static Type Invalid() { return nullptr; }
    static void Close(Type object) { ::DeleteObject(object); }
};
using UniqueGdiObject = base::UniqueAny<GdiObjectTraits<HGDIOBJ>>;
using UniqueFont = base::UniqueAny<GdiObjectTraits<HFONT>>;

// A memory device context the program created (CreateCompatibleDC).
struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = base::UniqueAny<MemoryDcTraits>;

// An icon the program made (CopyImage), not one loaded shared.
struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = base::UniqueAny<IconTraits>;

// A menu the program created (CreatePopupMenu).
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = base::UniqueAny<MenuTraits>;

// Memory the system allocated for the caller with LocalAlloc (FormatMessage's text).
struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type memory) { ::LocalFree(memory); }
};
using UniqueLocalMemory = base::UniqueAny<LocalMemoryTraits>;

// Memory the system allocated for the caller with CoTaskMemAlloc (an item ID list).
struct CoTaskMemoryTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type memory) { ::CoTaskMemFree(memory); }
};
using UniqueCoTaskMemory = base::UniqueAny<CoTaskMemoryTraits>;

// The screen's device context, from GetDC(nullptr); it goes back with ReleaseDC.
struct ScreenDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { ::ReleaseDC(nullptr, dc); }
};
using UniqueScreenDc = base::UniqueAny<ScreenDcTraits>;

// Empty when the system has no device context to give; callers check.
inline UniqueScreenDc GetScreenDc() {
    return UniqueScreenDc(::GetDC(nullptr));
}

}  // namespace platform::win32
