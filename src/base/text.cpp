#include "base/text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace base {
namespace {

struct CaseRun {
    char16_t first;
    char16_t last;
    int delta;
    int stride;
};
constexpr CaseRun kUpperRuns[] = {
#include "base/case_table.inc"
};

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
    return UpperCodePoint(utf8::Next(text, at));
}

bool StartsLetter(std::string_view text, std::size_t at) {
    return at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

// Windows orders names by their UTF-16 units, so the supplementary planes sort between the
// letters below U+D800 and those from U+E000: the key is the code point's units, high first.
std::uint32_t Utf16Order(char32_t code) {
    if (code >= utf8::kBrokenByte) return 0xFFFF0000 | (code - utf8::kBrokenByte);
    if (code < 0x10000) return code << 16;
    return ((0xD800 + ((code - 0x10000) >> 10)) << 16) | (0xDC00 + ((code - 0x10000) & 0x3FF));
}

}  // namespace

namespace utf8 {

char32_t Next(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
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
    }
    for (int i = 0; i < extra && at < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) break;
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    if (extra > 0 && at - start == static_cast<std::size_t>(extra) + 1 && code >= least &&
        code <= 0x10FFFF)
        return code;
    at = start + 1;
    return kBrokenByte + lead;
}

void Append(std::string& out, char32_t code) {
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

}  // namespace utf8

std::size_t Utf16Length(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = utf8::Next(text, at);
        length += code >= 0x10000 && code < utf8::kBrokenByte ? 2 : 1;
    }
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
        const char32_t code = utf8::Next(text, at);
        const char32_t upper = UpperCodePoint(code);
        if (upper == code) continue;
        std::string encoded;
        utf8::Append(encoded, upper);
        text.replace(start, at - start, encoded);  // a few letters change their length
        at = start + encoded.size();
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

// FNV-1a over the upper-cased code points.
std::uint64_t HashNoCase(std::string_view text, std::uint64_t seed) {
    constexpr std::uint64_t kPrime = 0x100000001b3;
    std::uint64_t hash = seed;
    for (std::size_t at = 0; at < text.size();)
        hash = (hash ^ NextUpper(text, at)) * kPrime;
    return hash;
}

std::size_t FindNoCase(std::string_view text, std::string_view part, std::size_t* length) {
    // Letter by letter from each letter of the text: a letter's upper case may have another
    // length, so an offset into an upper-cased copy would not be one into the text.
    for (std::size_t start = 0; start <= text.size(); ++start) {
        if (!StartsLetter(text, start)) continue;
        std::size_t i = start;
        std::size_t j = 0;
        bool matched = true;
        while (matched && j < part.size())
            matched = i < text.size() && NextUpper(text, i) == NextUpper(part, j);
        if (matched) {
            if (length) *length = i - start;
            return start;
        }
    }
    return std::string_view::npos;
}

std::string CutUtf8(std::string text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    while (bytes > 0 && !StartsLetter(text, bytes))
        --bytes;
    text.resize(bytes);
    return text;
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

}  // namespace base
