#include "scan/registry_lists.h"

namespace scan {

using core::Category;
using core::RegistryView;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

// The key paths keep their letter case: the list shows them as written here. A 64-bit Windows
// keeps a second copy of the uninstall entries, the machine's start-up entries, the old fonts
// list, the shared DLLs and the help files for 32-bit programs under WOW6432Node; that copy
// is read right after the list itself. The application paths and the Windows NT fonts are
// one key that both views share (reading it twice would list every entry twice); a 32-bit
// Windows has no WOW6432Node, and its copies are simply not there.
const std::vector<RegistryList>& RegistryLists() {
    static const std::vector<RegistryList> lists = {
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
         PathIn::SubkeyValue, "UninstallString", Category::WrongUninstall},
        {kHkeyLocalMachine, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
         PathIn::SubkeyValue, "UninstallString", Category::WrongUninstall,
         RegistryView::Of32BitPrograms},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", PathIn::ValueData,
         "", Category::BrokenLink},
        {kHkeyLocalMachine, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
         PathIn::ValueData, "", Category::BrokenLink, RegistryView::Of32BitPrograms},
        {kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", PathIn::ValueData,
         "", Category::BrokenLink},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",
         PathIn::ValueData, "", Category::BrokenLink},
        {kHkeyLocalMachine, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Fonts",
         PathIn::ValueData, "", Category::BrokenLink, RegistryView::Of32BitPrograms},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
         PathIn::ValueData, "", Category::BrokenLink},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
         PathIn::ValueName, "", Category::BrokenLink},
        {kHkeyLocalMachine, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
         PathIn::ValueName, "", Category::BrokenLink, RegistryView::Of32BitPrograms},
        {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
         PathIn::SubkeyValue, "", Category::BrokenLink},
        {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\Help", PathIn::HelpFolderAndName, "",
         Category::WrongHelp},
        {kHkeyLocalMachine, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Help",
         PathIn::HelpFolderAndName, "", Category::WrongHelp, RegistryView::Of32BitPrograms},
    };
    return lists;
}

}  // namespace scan
