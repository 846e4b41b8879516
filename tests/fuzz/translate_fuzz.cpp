// Language::Text on any language file. Input: key and default text on the first two lines;
// the language file's bytes after them (no file when there are none).
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/language.h"
#include "fuzz_support.h"
#include "platform/profile.h"
#include "platform/sandbox/sandbox.h"

namespace {

constexpr const char* kLanguageFile = "C:\\Purgelint\\languages\\eng.txt";
constexpr const char* kMissingFile = "C:\\Purgelint\\languages\\_missing.txt";

std::string TakeLine(std::string_view& text) {
    std::string line(text.substr(0, text.find('\n')));
    text.remove_prefix(std::min(text.size(), line.size() + 1));
    return line;
}

// What a program passes as a key or a default: printable ASCII, no characters that structure
// a profile line in a key, no blanks around a key.
std::string Printable(const std::string& raw, bool key) {
    std::string text;
    for (char c : raw)
        if (c >= 0x20 && c < 0x7f && !(key && std::string_view("=[];").find(c) != text.npos))
            text += c;
    if (!key) return text;
    const auto first = text.find_first_not_of(" \t");
    return first == text.npos ? "" : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Every "||" becomes a line break, pairs taken from the left.
std::string LineBreaks(std::string text) {
    for (auto at = text.find("||"); at != text.npos; at = text.find("||", at + 2))
        text.replace(at, 2, "\r\n");
    return text;
}

std::string Read(const std::string& section, const std::string& key, const char* defaultText,
                 const std::string& file) {
    std::string buffer(1 << 16, '\0');
    buffer.resize(platform::ReadProfileString(section, key, defaultText, buffer.data(),
                                              static_cast<std::uint32_t>(buffer.size()), file));
    return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string key = Printable(TakeLine(input), true);
    const std::string defaultText = Printable(TakeLine(input), false);
    if (key.empty()) return 0;

    // A fresh machine for every run, under the folder scripts/fuzz.sh gives.
    const char* root = std::getenv("PURGELINT_FUZZ_ROOT");
    const auto disk = std::filesystem::path(root ? root : "/tmp") /
                      ("purgelint-fuzz-" + std::to_string(::getpid()));
    std::filesystem::remove_all(disk);
    sandbox::Reset(disk);
    sandbox::SetApplication("C:\\Purgelint", "");
    sandbox::MakeFolder("C:\\Purgelint\\languages");
    if (!input.empty()) sandbox::WriteFile(kLanguageFile, std::string(input));
    const auto languageBytes = sandbox::ReadFile(kLanguageFile);
    // What the file holds for the key, as the general profile reader (2047 characters) sees it.
    const std::string stored = Read("Lang", key, "", kLanguageFile).substr(0, 2047);

    const core::Language language("eng");
    const std::string text = language.Text(key, defaultText);
    FUZZ_CHECK(sandbox::ReadFile(kLanguageFile) == languageBytes);
    if (!stored.empty()) {
        // The language file wins and nothing is recorded as missing.
        FUZZ_CHECK(text == LineBreaks(stored));
        FUZZ_CHECK(!sandbox::ReadFile(kMissingFile).has_value());
    } else {
        // The default serves, and the key is recorded with an empty value for translators;
        // asking again records nothing new.
        FUZZ_CHECK(text == LineBreaks(defaultText));
        FUZZ_CHECK(Read("Lang_eng", key, "?", kMissingFile).empty());
        const auto missing = sandbox::ReadFile(kMissingFile);
        FUZZ_CHECK(language.Text(key, defaultText) == text);
        FUZZ_CHECK(sandbox::ReadFile(kMissingFile) == missing);
    }
    return 0;
}
