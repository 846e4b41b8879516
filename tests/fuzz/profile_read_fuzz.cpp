// The profile reader on any file bytes, names and buffer size. Input: section, key, default
// and buffer size on the first four lines; the file's bytes after them.
#include <algorithm>
#include <string>

#include "fuzz_support.h"

namespace {

constexpr const char* kFile = "C:\\fuzz\\test.ini";
constexpr const char* kEmptyFile = "C:\\fuzz\\empty.ini";

std::string WithoutNul(std::string text) {
    std::erase(text, '\0');
    return text;
}

// "12" gives 12; anything that is not a number of at most four digits gives the large buffer.
std::uint32_t BufferSize(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return fuzz::kLargeBuffer;
    return static_cast<std::uint32_t>(std::stoul(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Fields in = fuzz::Split(data, size, 4);
    const std::string section = WithoutNul(in.lines[0]);
    const std::string key = WithoutNul(in.lines[1]);
    const std::string defaultText = WithoutNul(in.lines[2]);
    const std::uint32_t bufferSize = BufferSize(in.lines[3]);

    fuzz::FreshMachine();
    sandbox::WriteFile(kFile, in.rest);

    const std::string whole =
        fuzz::ReadProfile(section, key, defaultText, kFile, fuzz::kLargeBuffer);
    const std::string cut = fuzz::ReadProfile(section, key, defaultText, kFile, bufferSize);
    // A short buffer gets the beginning of the same text: all that fits, or one character
    // less where a quoted value loses its closing quote only when it fits whole. Beyond ASCII
    // the cut falls before the letter that does not fit whole.
    if (bufferSize > 0) {
        const std::size_t fits = std::min<std::size_t>(whole.size(), bufferSize - 1);
        FUZZ_CHECK(whole.starts_with(cut));
        FUZZ_CHECK(cut.size() == fits || cut.size() + 1 == fits ||
                   (!fuzz::IsAscii(whole) && cut.size() < fits));
    }

    // Section and key names match in any letter case.
    FUZZ_CHECK(fuzz::ReadProfile(fuzz::Upper(section), fuzz::Lower(key), defaultText, kFile,
                                 fuzz::kLargeBuffer) == whole);
    FUZZ_CHECK(fuzz::ReadProfile(fuzz::Lower(section), fuzz::Upper(key), defaultText, kFile,
                                 fuzz::kLargeBuffer) == whole);

    if (const auto value = fuzz::Lookup(section, key, kFile)) {
        FUZZ_CHECK(*value == whole);
        // A value found in an ASCII file is the file's own text, trimmed
        // of blanks unless quotes kept them (or a NUL ended it after the trimming).
        if (!fuzz::HasByteOrderMark(in.rest) && fuzz::IsAscii(in.rest)) {
            FUZZ_CHECK(in.rest.find(*value) != std::string::npos);
            const bool edgeBlank =
                !value->empty() && (fuzz::IsBlank(value->front()) || fuzz::IsBlank(value->back()));
            if (edgeBlank && in.rest.find('\0') == std::string::npos)
                FUZZ_CHECK(in.rest.find('"' + *value + '"') != std::string::npos ||
                           in.rest.find('\'' + *value + '\'') != std::string::npos);
        }
    } else {
        // A missing key reads as from an empty file: the default, which serves as it is when
        // it has no trailing space or quote to lose (and is no broken UTF-8).
        sandbox::WriteFile(kEmptyFile, "");
        FUZZ_CHECK(fuzz::ReadProfile(section, key, defaultText, kEmptyFile, fuzz::kLargeBuffer) ==
                   whole);
        if (!defaultText.empty() && fuzz::IsAscii(defaultText) && defaultText.back() != ' ' &&
            defaultText.front() != '"' && defaultText.front() != '\'')
            FUZZ_CHECK(whole == defaultText);
    }

    // Reading changes nothing.
    FUZZ_CHECK(sandbox::ReadFile(kFile) == in.rest);
    FUZZ_CHECK(sandbox::ReadFile(kEmptyFile).value_or("") == "");
    FUZZ_CHECK(sandbox::Journal().empty());
    return 0;
}
