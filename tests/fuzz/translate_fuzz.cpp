// Language::Text on any language file. Input: key and default text on the first two lines; the
// language file's bytes after them (no file when there are none).
#include <string>

#include "core/language.h"
#include "fuzz_support.h"

namespace {

constexpr const char* kLanguageFile = "C:\\Purgelint\\languages\\eng.txt";
constexpr const char* kMissingFile = "C:\\Purgelint\\languages\\_missing.txt";

// Every "||" becomes a line break, pairs taken from the left.
std::string LineBreaks(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|' && i + 1 < text.size() && text[i + 1] == '|') {
            result += "\r\n";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Fields in = fuzz::Split(data, size, 2);
    const std::string key = fuzz::ProfileName(in.lines[0]);
    const std::string defaultText = fuzz::ProfileValue(in.lines[1]);
    if (key.empty()) return 0;

    fuzz::FreshMachine();
    sandbox::SetApplication("C:\\Purgelint", "");
    sandbox::MakeFolder("C:\\Purgelint\\languages");
    const core::Language language("eng");
    if (!in.rest.empty()) sandbox::WriteFile(kLanguageFile, in.rest);
    const auto languageBytes = sandbox::ReadFile(kLanguageFile);

    // What the language file holds for the key, as the profile reader sees it (the general
    // reader's 2047 characters at most).
    const std::string stored = fuzz::ReadProfile("Lang", key, "", kLanguageFile, 2048);

    const std::string text = language.Text(key, defaultText);
    FUZZ_CHECK(text.find("||") == std::string::npos);
    FUZZ_CHECK(sandbox::ReadFile(kLanguageFile) == languageBytes);
    if (!stored.empty()) {
        // The language file wins and nothing is recorded as missing.
        FUZZ_CHECK(text == LineBreaks(stored));
        FUZZ_CHECK(!sandbox::ReadFile(kMissingFile).has_value());
    } else {
        // The default serves, and the key is recorded with an empty value for translators;
        // asking again records nothing new.
        FUZZ_CHECK(text == LineBreaks(defaultText));
        FUZZ_CHECK(fuzz::Lookup("Lang_eng", key, kMissingFile) == std::string());
        const auto missing = sandbox::ReadFile(kMissingFile);
        FUZZ_CHECK(language.Text(key, defaultText) == text);
        FUZZ_CHECK(sandbox::ReadFile(kMissingFile) == missing);
    }
    return 0;
}
