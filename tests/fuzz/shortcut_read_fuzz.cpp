// GetShortcutInfo on any shortcut file. Input: the file's bytes, all of it.
#include <string>

#include "core/app_state.h"
#include "fuzz_support.h"
#include "scan/shortcut.h"

namespace {

constexpr const char* kLink = "C:\\Users\\ann\\Desktop\\Damaged.lnk";
constexpr const char* kLog = "C:\\Purgelint\\log.txt";

bool FitsItsBuffer(const std::string& text) {
    return text.size() < 260 && text.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FreshMachine();
    sandbox::SetApplication("C:\\Purgelint", "");
    sandbox::MakeFolder("C:\\Purgelint");
    sandbox::WriteFile(kLink, std::string(reinterpret_cast<const char*>(data), size));

    std::string target = "?", description = "?", arguments = "?", iconPath = "?", folder = "?";
    std::uint16_t hotkey = 0;
    long iconIndex = 0, showCommand = 0;
    const long result = GetShortcutInfo(kLink, target, description, arguments, hotkey, iconPath,
                                        iconIndex, folder, showCommand);
    const std::string log = sandbox::ReadFile(kLog).value_or("");
    FUZZ_CHECK(result == 0 || result == 1);
    if (result == 0) {
        // A shortcut that reads is not an error, and every text fits a 260-character buffer.
        FUZZ_CHECK(log.empty());
        for (const std::string* text : {&target, &description, &arguments, &iconPath, &folder})
            FUZZ_CHECK(FitsItsBuffer(*text));
    } else {
        // One error line, and the shortcut is passed over.
        FUZZ_CHECK(log.rfind("Error in GetShortcutInfo: ", 0) == 0);
        FUZZ_CHECK(log.find("\r\n") == log.size() - 2);
    }
    return 0;
}
