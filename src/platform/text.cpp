#include "platform/text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct CaseRun {
    char16_t first;
    char16_t last;
    int delta;
    int stride;
};
constexpr CaseRun kUpperRuns[] = {
#include "platform/case_table.inc"
};

// The code point that starts at `text[at]`, moving `at` past it. Surrogates encoded on their
// own (as Utf8FromUtf16 writes a lone one) decode to themselves.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t code = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return kReplacement;
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return code < least || code > 0x10FFFF ? kReplacement : code;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t UpperCodePoint(char32_t code) {
    if (code < 0x80) return code >= 'a' && code <= 'z' ? code - 0x20 : code;
    if (code > 0xFFFF) return code;
    const auto run = std::upper_bound(std::begin(kUpperRuns), std::end(kUpperRuns), code,
                                      [](char32_t c, const CaseRun& r) { return c < r.first; });
    if (run == std::begin(kUpperRuns)) return code;
    const CaseRun& r = *std::prev(run);
    if (code > r.last || (code - r.first) % r.stride != 0) return code;
    return static_cast<char32_t>(static_cast<int>(code) + r.delta);
}

// The next code point upper-cased, for comparisons that fold as they go.
char32_t NextUpper(std::string_view text, std::size_t& at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
        ++at;
        return byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte;
    }
    return UpperCodePoint(NextCodePoint(text, at));
}

// Windows orders names by their UTF-16 units, so the supplementary planes sort between the
// letters below U+D800 and those from U+E000: the key is the code point's units, high first.
std::uint32_t Utf16Order(char32_t code) {
    if (code < 0x10000) return code << 16;
    return ((0xD800 + ((code - 0x10000) >> 10)) << 16) | (0xDC00 + ((code - 0x10000) & 0x3FF));
}

}  // namespace

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, code);
    }
    return out;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = NextCodePoint(text, at);
        if (code < 0x10000) {
            out += static_cast<char16_t>(code);
        } else {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size();)
        length += NextCodePoint(text, at) >= 0x10000 ? 2 : 1;
    return length;
}

std::string UpperCase(std::string text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            if (byte >= 'a' && byte <= 'z') text[at] = static_cast<char>(byte - 0x20);
            ++at;
            continue;
        }
        const std::size_t start = at;
        const char32_t code = NextCodePoint(text, at);
        const char32_t upper = UpperCodePoint(code);
        if (upper == code) continue;
        std::string encoded;
        AppendUtf8(encoded, upper);
        text.replace(start, at - start, encoded);  // the same length, as the table promises
    }
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size())
        if (NextUpper(a, i) != NextUpper(b, j)) return false;
    return i == a.size() && j == b.size();
}

std::size_t FindNoCase(std::string_view text, std::string_view part) {
    const std::string upperText = UpperCase(std::string(text));
    return upperText.find(UpperCase(std::string(part)));
}

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::uint32_t ca = Utf16Order(NextUpper(a, i));
        const std::uint32_t cb = Utf16Order(NextUpper(b, j));
        if (ca != cb) return ca < cb;
    }
    return j < b.size();
}

}  // namespace platform
