// The UTF-8 text of the system as the wide strings that the W functions and COM take, and
// back. wchar_t is a UTF-16 unit on Windows: these only adapt the one conversion pair of
// platform/text.h to std::wstring.
#pragma once

#include <string>
#include <string_view>

#include "base/text.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds one UTF-16 unit");

inline std::wstring Wide(std::string_view text) {
    return base::Utf16FromUtf8<std::wstring>(text);
}

inline std::string Narrow(std::wstring_view text) {
    return base::Utf8FromUtf16(text);
}

// A wide text up to its first NUL, or the whole buffer when it holds none.
inline std::string NarrowUpToNul(const wchar_t* text, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && text[length] != L'\0')
        ++length;
    return Narrow(std::wstring_view(text, length));
}

}  // namespace platform::win32
