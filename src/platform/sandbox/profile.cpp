// Profile files on the sandbox disk, read and rewritten as the Windows profile functions do:
// the whole file is parsed into sections and keys, and a write saves the whole of it again.
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/profile.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "base/text.h"

namespace platform {
namespace {

// The parsed file holds its text in UTF-8, as names and values cross the API; the file keeps
// its own encoding.
enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Windows-1252 from 0x80 to 0x9F; its five unassigned bytes stand for the C1 controls.
constexpr std::array<char16_t, 32> kAnsiHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromAnsi(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kAnsiHigh[c - 0x80] : c;
}

// What the code page cannot hold becomes '?', as the real write does.
char ToAnsi(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    const auto at = std::find(kAnsiHigh.begin(), kAnsiHigh.end(), c);
    return at == kAnsiHigh.end() ? '?' : static_cast<char>(0x80 + (at - kAnsiHigh.begin()));
}

std::string AnsiToUtf8(std::string_view text) {
    std::u16string units;
    for (char c : text)
        units += FromAnsi(static_cast<unsigned char>(c));
    return base::Utf8FromUtf16(units);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string text;
    for (char16_t unit : base::Utf16FromUtf8(utf8))
        text += ToAnsi(unit);
    return text;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return base::Utf8FromUtf16(units);
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : base::Utf16FromUtf8(utf8)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// A byte-order mark chooses the encoding; without one the file is in the ANSI code page.
std::string Decode(std::string_view bytes, Encoding& encoding) {
    if (bytes.starts_with(kUtf8Mark)) {
        encoding = Encoding::kUtf8;
        return std::string(bytes.substr(kUtf8Mark.size()));
    }
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        encoding = bytes.starts_with(kUtf16LeMark) ? Encoding::kUtf16Le : Encoding::kUtf16Be;
        return Utf16ToUtf8(bytes.substr(2), encoding == Encoding::kUtf16Be);
    }
    encoding = Encoding::kAnsi;
    return AnsiToUtf8(bytes);
}

std::string Encode(std::string_view utf8, Encoding encoding) {
    switch (encoding) {
        case Encoding::kUtf8:
            return std::string(kUtf8Mark) + std::string(utf8);
        case Encoding::kUtf16Le:
            return std::string(kUtf16LeMark) + Utf8ToUtf16(utf8, false);
        case Encoding::kUtf16Be:
            return std::string(kUtf16BeMark) + Utf8ToUtf16(utf8, true);
        case Encoding::kAnsi:
            break;
    }
    return Utf8ToAnsi(utf8);
}

struct Key {
    std::string name;
    std::optional<std::string> value;  // none for a bare name
};

struct Section {
    std::string name;  // empty for the keys before the first header
    std::vector<Key> keys;
};

struct Profile {
    Encoding encoding = Encoding::kAnsi;
    std::vector<Section> sections;
};

// Names and values are C strings to the real functions: a NUL ends them.
std::string UpToNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string Blankless(std::string_view text) {
    return UpToNul(base::Trim(text, kProfileBlanks));
}

std::vector<Section> Parse(std::string_view text) {
    std::vector<Section> sections(1);
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string line = base::Trim(text.substr(start, end - start), kProfileBlanks);
        start = std::min(text.find_first_not_of("\r\n", end), text.size());
        if (line.empty()) continue;
        // The last ']' closes a header; a line without one is an ordinary line.
        const auto close = line.rfind(']');
        if (line.front() == '[' && close != std::string::npos) {
            sections.push_back({Blankless(std::string_view(line).substr(1, close - 1)), {}});
            continue;
        }
        const auto equals = line.find('=');
        Key key{Blankless(std::string_view(line).substr(0, equals)), std::nullopt};
        if (equals != std::string::npos)
            key.value = Blankless(std::string_view(line).substr(equals + 1));
        // As the real reader does, a nameless key is kept only after a named one.
        auto& keys = sections.back().keys;
        if (!key.name.empty() || keys.empty() || !keys.back().name.empty())
            keys.push_back(std::move(key));
    }
    return sections;
}

Profile Load(const std::string& file) {
    Profile profile;
    profile.sections = Parse(Decode(sandbox::ReadFile(file).value_or(""), profile.encoding));
    return profile;
}

std::string Save(const Profile& profile) {
    std::string text;
    for (const auto& section : profile.sections) {
        if (!section.name.empty()) text += "[" + section.name + "]\r\n";
        for (const auto& key : section.keys)
            text += key.name + (key.value ? "=" + *key.value : "") + "\r\n";
    }
    return Encode(text, profile.encoding);
}

// Only the first section and the first key of a name count.
template <typename Item>
Item* FirstNamed(std::vector<Item>& items, const std::string& name) {
    const auto at = std::find_if(items.begin(), items.end(), [&](const Item& item) {
        return base::EqualsNoCase(item.name, name);
    });
    return at == items.end() ? nullptr : &*at;
}

const Key* Find(Profile& profile, const std::string& section, const std::string& key) {
    Section* found = FirstNamed(profile.sections, Blankless(section));
    return found ? FirstNamed(found->keys, Blankless(key)) : nullptr;
}

// The real default loses its trailing spaces, down to one.
std::string DefaultOf(const std::string& text) {
    const auto last = text.find_last_not_of(' ');
    return text.substr(0, last == std::string::npos ? std::min<size_t>(text.size(), 1) : last + 1);
}

// What the real copy leaves of a value in `size` bytes: matching outer quotes go, but the
// closing one only when the whole value fits; a cut never splits a letter.
std::string CopyOf(const std::string& text, std::uint32_t size) {
    // The real call counts in UTF-16 characters: the rule is applied there, and what it gives
    // is then cut to the caller's bytes.
    std::u16string value = base::Utf16FromUtf8(text);
    const bool quoted = value.size() > 1 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    if (quoted) value.erase(0, 1);
    std::u16string copy = value.substr(0, size - 1);
    if (quoted && size >= value.size() && !copy.empty()) copy.pop_back();
    return base::CutUtf8(base::Utf8FromUtf16(copy), size - 1);
}

}  // namespace

std::uint32_t ReadProfileString(const std::string& section, const std::string& key,
                                const std::string& defaultText, char* buffer, std::uint32_t size,
                                const std::string& file) {
    if (size == 0) return 0;
    Profile profile = Load(file);
    const Key* found = Find(profile, section, key);
    const std::string text =
        CopyOf(found && found->value ? *found->value : DefaultOf(UpToNul(defaultText)), size);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<std::uint32_t>(text.size());
}

bool WriteProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) {
    if (!sandbox::MayWrite(file)) return false;
    Profile profile = Load(file);
    Section* at = FirstNamed(profile.sections, Blankless(section));
    if (!at) at = &profile.sections.emplace_back(Section{Blankless(section), {}});
    Key* entry = FirstNamed(at->keys, Blankless(key));
    if (!entry) entry = &at->keys.emplace_back(Key{Blankless(key), std::nullopt});
    const std::string text = UpToNul(value);
    const std::string stored =
        text.substr(std::min(text.find_first_not_of(kProfileBlanks), text.size()));
    if (entry->value == stored) return true;
    entry->value = stored;
    sandbox::TheMachine().journal.push_back("profile " + file + " " + key);
    return sandbox::WriteHostFile(sandbox::HostPath(file), Save(profile));
}

}  // namespace platform
