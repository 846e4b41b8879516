#include "bench/plan.h"

#include <cstdio>

namespace bench {

namespace {

std::string Numbered(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

}  // namespace

// The keys as the scan's phases name them; shares give 8 : 3 : 3 : 6 : 6 : 6 : 6 : 2.
const std::vector<RegistryList>& RegistryLists() {
    using Kind = RegistryList::Kind;
    static const std::vector<RegistryList> lists = {
        {"uninstall", platform::kHkeyLocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", Kind::Subkeys,
         "UninstallString", 2, 8},
        {"run-machine", platform::kHkeyLocalMachine,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", Kind::ValuesInData, "", 0, 3},
        {"run-user", platform::kHkeyCurrentUser,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", Kind::ValuesInData, "", 0, 3},
        {"fonts", platform::kHkeyLocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts", Kind::ValuesInData, "", 0, 6},
        {"fonts-nt", platform::kHkeyLocalMachine,
         "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", Kind::ValuesInData, "", 0, 6},
        {"shared-dlls", platform::kHkeyLocalMachine,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", Kind::ValuesInName, "", 0, 6},
        {"app-paths", platform::kHkeyLocalMachine,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", Kind::Subkeys, "", 0, 6},
        {"help", platform::kHkeyLocalMachine, "Software\\Microsoft\\Windows\\Help", Kind::Help, "",
         3, 2},
    };
    return lists;
}

int Plan::TempLeaves() const {
    int leaves = 1;
    for (int level = 0; level < tempDepth; ++level)
        leaves *= tempFanout;
    return leaves;
}

std::vector<std::string> Plan::TempLeafFolders() const {
    std::vector<std::string> folders = {""};
    for (int level = 0; level < tempDepth; ++level) {
        std::vector<std::string> deeper;
        for (const auto& folder : folders)
            for (int i = 0; i < tempFanout; ++i)
                deeper.push_back(folder + (folder.empty() ? "" : "\\") + Numbered("d%02d", i));
        folders = std::move(deeper);
    }
    return folders;
}

std::string Plan::TempFileName(int number) {
    return Numbered("f%03d.tmp", number);
}

std::string Plan::ShortcutPath(int index) const {
    const int onDesktop = shortcuts / 5;
    const std::string name = EntryName(index) + ".lnk";
    if (index < onDesktop) return DesktopFolder() + "\\" + name;
    return ProgramsFolder() + "\\" + Numbered("g%03d", (index - onDesktop) / 25) + "\\" + name;
}

int Plan::FirstTargetOf(const RegistryList& list) const {
    int first = shortcuts;
    for (const auto& earlier : RegistryLists()) {
        if (&earlier == &list) break;
        first += EntriesOf(earlier);
    }
    return first;
}

std::string Plan::EntryName(int index) {
    return kMark + Numbered("%05d", index);
}

std::string Plan::TargetFolder(int index, bool broken) const {
    return work + (broken ? "\\Missing\\" : "\\Targets\\") + Numbered("t%03d", index / 100);
}

std::string Plan::TargetName(int index) {
    return EntryName(index) + ".dat";
}

}  // namespace bench
