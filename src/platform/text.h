// Text helpers shared by every layer: names compare as Windows compares them (without
// regard to case, for the letters of the ANSI code page, Windows-1252), and trimming.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Windows-1252 case mapping of one byte: ASCII letters, the accented letters C0-DE (but
// the multiplication sign D7) and the four letters Š Œ Ž Ÿ.
constexpr unsigned char LowerChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;
    if (c == 0x9F) return 0xFF;
    return c;
}
constexpr unsigned char UpperChar(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0x9A || c == 0x9C || c == 0x9E) return c - 0x10;
    if (c == 0xFF) return 0x9F;
    return c;
}

inline std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(LowerChar(static_cast<unsigned char>(c)));
    return text;
}
inline std::string UpperCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(UpperChar(static_cast<unsigned char>(c)));
    return text;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerChar(static_cast<unsigned char>(a[i])) !=
            LowerChar(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Orders names as a case-insensitive map of Windows names does.
struct NoCaseLess {
    bool operator()(std::string_view a, std::string_view b) const {
        const size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            const auto ca = LowerChar(static_cast<unsigned char>(a[i]));
            const auto cb = LowerChar(static_cast<unsigned char>(b[i]));
            if (ca != cb) return ca < cb;
        }
        return a.size() < b.size();
    }
    using is_transparent = void;
};

// Without the leading and trailing characters of `blanks`.
inline std::string Trim(std::string_view text, std::string_view blanks = " ") {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

}  // namespace platform
