// PathFromCommandLine on any registry text. Input: the command line, all of it.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "core/command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Folders with no environment word, quote or edge blank: the properties need not expand.
    core::Folders folders;
    folders.windows = "C:\\WINDOWS";
    folders.programFiles = "C:\\Program Files";
    const std::string path = core::PathFromCommandLine(std::string(text), folders);
    FUZZ_CHECK(path.find('"') == std::string::npos);
    FUZZ_CHECK(path.empty() || (path.front() != ' ' && path.back() != ' '));
    FUZZ_CHECK(path.find("%SystemRoot%") == std::string::npos);
    FUZZ_CHECK(path.find("%ProgramFiles%") == std::string::npos);

    // The installer and DLL host tests see it without one quote at each end, up to a quote.
    if (text.starts_with('"')) text.remove_prefix(1);
    if (text.ends_with('"')) text.remove_suffix(1);
    std::string start(text.substr(0, std::min<std::size_t>(text.find('"'), 11)));
    for (char& c : start)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (start.starts_with("msiexec.exe") || start.starts_with("rundll32")) FUZZ_CHECK(path.empty());
    return 0;
}
