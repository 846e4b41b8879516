#include "bench/plan.h"

#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

std::string Numbered(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

}  // namespace

int ShareOf(const RegistryList& list) {
    const std::string key = list.key;
    switch (list.pathIn) {
        case scan::PathIn::SubkeyValue:
            return *list.valueName != '\0' ? 8 : 6;
        case scan::PathIn::ValueData:
            return key.ends_with("\\Run") ? 3 : 6;
        case scan::PathIn::ValueName:
            return 6;
        case scan::PathIn::HelpFolderAndName:
            return 2;
    }
    return 0;
}

int AllShares() {
    static const int all = [] {
        int sum = 0;
        for (const auto& list : scan::RegistryLists())
            sum += ShareOf(list);
        return sum;
    }();
    return all;
}

const RegistryList& ListEndingWith(const std::string& name) {
    for (const auto& list : scan::RegistryLists())
        if (std::string(list.key).ends_with("\\" + name)) return list;
    throw std::logic_error("the scan reads no list " + name);
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

std::string Plan::RepairFile(const std::string& set, int index) const {
    return RepairRoot() + "\\" + set + "\\" + Numbered("r%03d", index / 100) + "\\" +
           Numbered("f%02d.tmp", index % 100);
}

std::string Plan::ShortcutPath(int index) const {
    const int onDesktop = shortcuts / 5;
    const std::string name = EntryName(index) + ".lnk";
    if (index < onDesktop) return DesktopFolder() + "\\" + name;
    return ProgramsFolder() + "\\" + Numbered("g%03d", (index - onDesktop) / 25) + "\\" + name;
}

int Plan::FirstTargetOf(const RegistryList& list) const {
    int first = shortcuts;
    for (const auto& earlier : scan::RegistryLists()) {
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
