// The profile writer on any file, or none. Input: section, key, value, another section and
// another key on the first five lines; the file's bytes after them.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"

namespace {

constexpr const char* kFile = "C:\\fuzz\\test.ini";

// A value that reads back as written: nothing for the reader to trim or unquote.
bool IsPlain(const std::string& value) {
    if (!value.empty() && (fuzz::kProfileBlanks.find(value.front()) != std::string_view::npos ||
                           fuzz::kProfileBlanks.find(value.back()) != std::string_view::npos))
        return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

bool HasLineLikeAMark(std::string_view file) {
    for (std::size_t start = 0; start < file.size(); start = file.find_first_of("\r\n", start)) {
        start = std::min(file.find_first_not_of(fuzz::kProfileBlanks, start), file.size());
        if (fuzz::HasByteOrderMark(file.substr(start))) return true;
    }
    return false;
}

// A header with an empty name ("[]", "[ ]"): a rewrite drops it, as the real writer does,
// and the keys under it then belong to the section before it.
bool HasEmptyHeader(std::string_view file) {
    for (std::size_t start = 0; start < file.size(); start = file.find_first_of("\r\n", start)) {
        start = std::min(file.find_first_not_of(fuzz::kProfileBlanks, start), file.size());
        const std::string_view line = file.substr(start, file.find_first_of("\r\n", start) - start);
        const auto close = line.rfind(']');
        if (!line.starts_with('[') || close == std::string_view::npos) continue;
        const std::string_view name = line.substr(1, close - 1);
        if (name.find_first_not_of(fuzz::kProfileBlanks) == std::string_view::npos) return true;
    }
    return false;
}

bool SameName(const std::string& a, const std::string& b) {
    return fuzz::Lower(a) == fuzz::Lower(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Fields in = fuzz::Split(data, size, 5);
    const std::string section = fuzz::ProfileName(in.lines[0]);
    const std::string key = fuzz::ProfileName(in.lines[1]);
    const std::string value = fuzz::ProfileValue(in.lines[2]);
    const std::string otherSection = fuzz::ProfileName(in.lines[3]);
    const std::string otherKey = fuzz::ProfileName(in.lines[4]);
    if (section.empty() || key.empty()) return 0;

    // NULs stay out of this target's files: a bare line that starts with one is saved as a
    // blank line that the next load drops, so a second identical write still rewrites the
    // file. The reader's target keeps them. Without bytes there is no file yet.
    std::string file = in.rest;
    std::erase(file, '\0');
    // Nor do ANSI files with a line that starts like a byte-order mark: the rewrite drops
    // blank lines and empty headers, which may put it first, and the next load takes the
    // file for Unicode.
    if (!fuzz::HasByteOrderMark(file) && HasLineLikeAMark(file)) return 0;
    if (HasEmptyHeader(file)) return 0;
    fuzz::FreshMachine();
    sandbox::MakeFolder("C:\\fuzz");
    if (!file.empty()) sandbox::WriteFile(kFile, file);

    // Every other entry the input names, with what it holds before the write.
    std::vector<std::pair<std::string, std::string>> others;
    for (const auto& s : {section, otherSection})
        for (const auto& k : {key, otherKey})
            if (!s.empty() && !k.empty() && !(SameName(s, section) && SameName(k, key)))
                others.emplace_back(s, k);
    std::vector<std::optional<std::string>> before;
    for (const auto& [s, k] : others)
        before.push_back(fuzz::Lookup(s, k, kFile));

    FUZZ_CHECK(platform::WriteProfileValue(section, key, value, kFile));
    const auto written = sandbox::ReadFile(kFile);
    FUZZ_CHECK(written.has_value());

    // The value reads back, under the names in any letter case.
    const auto back = fuzz::Lookup(section, key, kFile);
    FUZZ_CHECK(back.has_value());
    if (IsPlain(value)) FUZZ_CHECK(*back == value);
    FUZZ_CHECK(fuzz::Lookup(fuzz::Upper(section), fuzz::Lower(key), kFile) == back);

    // Writing the same again changes nothing, not even the layout; under names in another
    // letter case it still finds the same entry.
    FUZZ_CHECK(platform::WriteProfileValue(section, key, value, kFile));
    FUZZ_CHECK(sandbox::ReadFile(kFile) == written);
    FUZZ_CHECK(platform::WriteProfileValue(fuzz::Lower(section), fuzz::Upper(key), value, kFile));
    FUZZ_CHECK(fuzz::Lookup(section, key, kFile) == back);

    // Other keys and sections keep what they held.
    for (std::size_t i = 0; i < others.size(); ++i)
        FUZZ_CHECK(fuzz::Lookup(others[i].first, others[i].second, kFile) == before[i]);
    return 0;
}
