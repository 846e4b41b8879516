#include "scan/registry_lists.h"

namespace scan {

using core::Category;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

// The key paths keep their letter case: the list shows them as written here.
const std::vector<RegistryList>& RegistryLists() {
    static const std::vector<RegistryList> lists = {
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
         PathIn::SubkeyValue, "UninstallString", Category::WrongUninstall},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", PathIn::ValueData,
         "", Category::BrokenLink},
        {kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", PathIn::ValueData,
         "", Category::BrokenLink},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",
         PathIn::ValueData, "", Category::BrokenLink},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
         PathIn::ValueData, "", Category::BrokenLink},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
         PathIn::ValueName, "", Category::BrokenLink},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
         PathIn::SubkeyValue, "", Category::BrokenLink},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\Help", PathIn::HelpFolderAndName, "",
         Category::WrongHelp},
    };
    return lists;
}

}  // namespace scan
