#include "core/first_run.h"

#include <string>

#include "core/registry.h"
#include "core/settings.h"
#include "platform/application.h"

namespace core {

namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

void LeaveNote(const char* valueName, const std::string& arguments) {
    std::string text = "\"";
    text += platform::ApplicationFolder() + "\\Novaroll.exe\" " + arguments;
    // Without the rights to write the note it is not tried again: the flag is set anyway.
    WriteRegistryText(platform::kHkeyLocalMachine, kRunOnceKey, valueName, text);
    WriteSettingBool("wasfirstrun", true);
}

}  // namespace

void HandOffFirstRun() {
    LeaveNote("update_purgelint2", "/FIRSTRUN");
}

void HandOffFirstErrors(std::optional<long> count) {
    LeaveNote("update_purgelint3",
              "/FIRSTERRORS_" + (count ? std::to_string(*count) : std::string("C")));
}

}  // namespace core
