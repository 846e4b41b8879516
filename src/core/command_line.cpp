#include "core/command_line.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"

namespace core {

namespace {

constexpr char kQuote = '"';

// Every occurrence of `word`, matched exactly (letter case included), left to right.
void ReplaceEvery(std::string& text, const std::string& word, const std::string& replacement) {
    for (size_t at = 0; (at = text.find(word, at)) != std::string::npos; at += replacement.size())
        text.replace(at, word.size(), replacement);
}

// Whether the text begins with `lowerPrefix` in any letter case.
bool BeginsWithAnyCase(const std::string& text, const std::string& lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(), [](char p, char c) {
               return p == static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
           });
}

}  // namespace

std::string PathFromCommandLine(const std::string& commandLine, const Folders& folders) {
    std::string s = commandLine;
    if (!s.empty() && s.front() == kQuote) s.erase(0, 1);
    if (!s.empty() && s.back() == kQuote) s.pop_back();
    // What follows a quote still inside is an argument: the path ends before it.
    if (const size_t quote = s.find(kQuote); quote != std::string::npos) s.resize(quote);
    ReplaceEvery(s, "%SystemRoot%", folders.windows);
    ReplaceEvery(s, "%ProgramFiles%", folders.programFiles);
    // The installer and the DLL host name no file of the entry's own: nothing to test.
    if (BeginsWithAnyCase(s, "msiexec.exe") || BeginsWithAnyCase(s, "rundll32")) return {};
    return base::Trim(s);
}

}  // namespace core
