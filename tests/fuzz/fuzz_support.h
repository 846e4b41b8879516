// Shared by the fuzz targets: the input's fields, profile names a profile file can hold,
// a sandbox machine per run, and checks that stop the run with the failing property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "platform/profile.h"
#include "platform/sandbox/sandbox.h"

// A failed property is a crash to libFuzzer: it keeps the input and stops.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

namespace fuzz {

// The input as `count` lines (without their "\n") followed by everything after them, so
// that seeds stay readable: the names first, then the file's bytes.
struct Fields {
    std::vector<std::string> lines;
    std::string rest;
};

inline Fields Split(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Fields fields;
    while (fields.lines.size() < count) {
        const auto end = text.find('\n');
        fields.lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    fields.rest = std::string(text);
    return fields;
}

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string Trim(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// A section or key name as a program would pass it: ASCII without control characters, none
// of the characters that structure a profile line, no surrounding blanks. Empty when nothing
// is left.
inline std::string ProfileName(const std::string& raw) {
    std::string name;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '=' && c != '[' && c != ']' && c != ';') name += c;
    }
    return Trim(name);
}

// A value as a program would pass it: one line of ASCII, no NUL. (Text beyond ASCII crosses
// in UTF-8 and is stored in the file's own encoding, where an ANSI file may not hold it.)
inline std::string ProfileValue(const std::string& raw) {
    std::string value;
    for (char c : raw)
        if (c != '\0' && c != '\r' && c != '\n' && static_cast<unsigned char>(c) < 0x80) value += c;
    return value;
}

inline std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The profile reader with a buffer of exactly `size` bytes, so that AddressSanitizer sees
// any write past it; checks that the result lies within the buffer and ends in a NUL.
inline std::string ReadProfile(const std::string& section, const std::string& key,
                               const std::string& defaultText, const std::string& file,
                               std::uint32_t size) {
    std::vector<char> buffer(size == 0 ? 1 : size, '\x7f');
    const std::uint32_t n =
        platform::ReadProfileString(section, key, defaultText, buffer.data(), size, file);
    if (size == 0) {
        FUZZ_CHECK(n == 0 && buffer[0] == '\x7f');
        return {};
    }
    FUZZ_CHECK(n < size);
    FUZZ_CHECK(buffer[n] == '\0');
    return std::string(buffer.data(), n);
}

constexpr std::uint32_t kLargeBuffer = 1 << 16;

// The value of a key, or nothing when the file lacks it: only then does the default show,
// so two reads with different defaults tell the cases apart whatever the file holds.
inline std::optional<std::string> Lookup(const std::string& section, const std::string& key,
                                         const std::string& file) {
    std::string text = ReadProfile(section, key, "", file, kLargeBuffer);
    if (text.empty() && ReadProfile(section, key, "?", file, kLargeBuffer) == "?")
        return std::nullopt;
    return text;
}

// The host folder of this process's sandbox disk: under $PURGELINT_FUZZ_ROOT when set (as
// scripts/fuzz.sh does, to clean up after a failed run too), else in memory where the system
// offers that, since every run rewrites it. It goes when the process ends normally.
inline const std::filesystem::path& SandboxRoot() {
    static const std::filesystem::path root = [] {
        std::error_code ec;
        std::filesystem::path parent = "/dev/shm";
        if (const char* chosen = std::getenv("PURGELINT_FUZZ_ROOT"))
            parent = chosen;
        else if (!std::filesystem::is_directory(parent, ec))
            parent = std::filesystem::temp_directory_path();
        return parent / ("purgelint-fuzz-" + std::to_string(::getpid()));
    }();
    static const bool cleanup = [] {
        return std::atexit([] {
                   std::error_code ec;
                   std::filesystem::remove_all(SandboxRoot(), ec);
               }) == 0;
    }();
    (void)cleanup;
    return root;
}

// A fresh sandbox machine for every run.
inline void FreshMachine() {
    std::error_code ec;
    std::filesystem::remove_all(SandboxRoot(), ec);
    sandbox::Reset(SandboxRoot());
}

}  // namespace fuzz
