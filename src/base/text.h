// Text helpers shared by every layer. Text is UTF-8 everywhere above the win32 backend; the
// one pair of conversions to and from UTF-16 is here. Names compare as Windows compares
// registry and NTFS names: each letter upper-cased, Unicode and not only one code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

namespace utf8 {

// A byte that starts no valid sequence decodes to a value of its own above Unicode, so that
// two different broken names never compare equal.
constexpr char32_t kBrokenByte = 0x110000;

// The code point that starts at `text[at]`, moving `at` past it. A surrogate encoded on its
// own (as a lone one from UTF-16 is written) decodes to itself.
char32_t Next(std::string_view text, std::size_t& at);
void Append(std::string& out, char32_t code);

}  // namespace utf8

// UTF-16 as Windows hands it over (char16_t, or wchar_t on Windows), to UTF-8 and back. A
// lone surrogate (Windows allows one in a name) travels as its own three-byte sequence, so
// that every name comes back exactly as it was; bytes that are no UTF-8 become U+FFFD.
template <typename Unit>
std::string Utf8FromUtf16(std::basic_string_view<Unit> text) {
    static_assert(sizeof(Unit) == 2, "one UTF-16 unit");
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = static_cast<char16_t>(text[i]);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        utf8::Append(out, code);
    }
    return out;
}
inline std::string Utf8FromUtf16(std::u16string_view text) {
    return Utf8FromUtf16<char16_t>(text);
}

template <typename String = std::u16string>
String Utf16FromUtf8(std::string_view text) {
    using Unit = typename String::value_type;
    static_assert(sizeof(Unit) == 2, "one UTF-16 unit");
    String out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = utf8::Next(text, at);
        if (code >= utf8::kBrokenByte) {
            out += static_cast<Unit>(0xFFFD);
        } else if (code < 0x10000) {
            out += static_cast<Unit>(code);
        } else {
            out += static_cast<Unit>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<Unit>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// How many UTF-16 units the text takes: the length the W functions measure.
std::size_t Utf16Length(std::string_view text);

// The text cut to at most `bytes` bytes, never inside a letter.
std::string CutUtf8(std::string text, std::size_t bytes);

// The text with every letter upper-cased as Windows does for names (a few letters change
// their UTF-8 length).
std::string UpperCase(std::string text);

bool EqualsNoCase(std::string_view a, std::string_view b);

// A hash that texts equal without regard to case share. It goes on from `seed`, so that a text
// hashed on from another's hash gives the hash of the two joined.
constexpr std::uint64_t kHashNoCaseStart = 0xcbf29ce484222325;  // FNV-1a's offset basis
std::uint64_t HashNoCase(std::string_view text, std::uint64_t seed = kHashNoCaseStart);

// Where `part` first occurs in `text` at the start of a letter, compared without regard to
// case, with the bytes it takes there in `length` (not always part's own); npos when nowhere.
std::size_t FindNoCase(std::string_view text, std::string_view part, std::size_t* length = nullptr);

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

}  // namespace base
