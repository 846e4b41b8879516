// Text helpers shared by every layer. Text is UTF-8 everywhere above the win32 backend; the
// one pair of conversions to and from UTF-16 is here. Names compare as Windows compares
// registry and NTFS names: each letter upper-cased, Unicode and not only one code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-16 as Windows hands it over, to UTF-8 and back. A lone surrogate (Windows allows
// one in a name) travels as its own three-byte sequence, so that every name comes back
// exactly as it was; bytes that are no UTF-8 become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);
// How many UTF-16 units the text takes: the length the W functions measure.
std::size_t Utf16Length(std::string_view text);

// The text with every letter upper-cased as Windows does for names; a letter's UTF-8 length
// never changes, so an offset into the result is one into the original.
std::string UpperCase(std::string text);

bool EqualsNoCase(std::string_view a, std::string_view b);

// Where `part` first occurs in `text`, compared without regard to case; npos when nowhere.
std::size_t FindNoCase(std::string_view text, std::string_view part);

// Orders names as a case-insensitive map of Windows names does.
struct NoCaseLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

// Without the leading and trailing characters of `blanks`.
inline std::string Trim(std::string_view text, std::string_view blanks = " ") {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

}  // namespace platform
