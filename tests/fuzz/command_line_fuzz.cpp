// PathFromCommandLine on any registry text. Input: the command line, all of it.
#include <string>
#include <string_view>

#include "core/command_line.h"
#include "fuzz_support.h"

namespace {

// The text the installer and DLL host tests see: one leading quote, one trailing quote
// dropped, then everything from the first remaining quote on.
std::string AfterQuoteRules(std::string_view text) {
    if (!text.empty() && text.front() == '"') text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
    return std::string(text.substr(0, text.find('"')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string commandLine(reinterpret_cast<const char*>(data), size);
    // Folders without an environment word, quote or blank at either end, so the properties
    // below need not follow the expansion.
    core::Folders folders;
    folders.windows = "C:\\WINDOWS";
    folders.programFiles = "C:\\Program Files";
    const std::string path = core::PathFromCommandLine(commandLine, folders);

    FUZZ_CHECK(path.find('"') == std::string::npos);
    FUZZ_CHECK(path.empty() || (path.front() != ' ' && path.back() != ' '));
    // Both words are expanded wherever they stand.
    FUZZ_CHECK(path.find("%SystemRoot%") == std::string::npos);
    FUZZ_CHECK(path.find("%ProgramFiles%") == std::string::npos);

    const std::string start = fuzz::Lower(AfterQuoteRules(commandLine).substr(0, 11));
    if (start.starts_with("msiexec.exe") || start.starts_with("rundll32")) FUZZ_CHECK(path.empty());
    return 0;
}
