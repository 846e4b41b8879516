// The machine a benchmark run plants: its sizes and where every planted item goes. The
// native run writes all of it into the sandbox; under Wine scripts/bench.sh writes the
// temporary tree with host tools (same names and dates) and the bench program the rest.
#pragma once

#include <string>
#include <vector>

#include "scan/registry_lists.h"

namespace bench {

// Every fifth planted item is the broken one: an old file, a shortcut or a registry entry
// naming a missing file.
inline bool IsBroken(int index) {
    return index % 5 == 0;
}
inline int BrokenAmong(int count) {
    return (count + 4) / 5;
}

// Marks every planted value and subkey, so that a later run can remove them.
constexpr const char* kMark = "PurgelintBench";

// The registry lists a scan looks through are the scan's own table (scan::RegistryLists(),
// in the scan's order); the plan gives each a share of the planted entries.
using RegistryList = scan::RegistryList;
// The parts of the planted entries a list takes: 8 for an uninstall list, 3 for a start-up
// list, 2 for a help list and 6 for every other list (both registry views alike).
int ShareOf(const RegistryList& list);
// The parts of all the lists together.
int AllShares();
// The first list whose key ends with `name` ("Fonts"); throws when the table has none.
const RegistryList& ListEndingWith(const std::string& name);

struct Plan {
    std::string work;  // Windows path of the folder that holds all planted files
    int tempDepth = 3;
    int tempFanout = 10;
    int tempFilesPerLeaf = 100;
    int shortcuts = 5000;
    int registryEntries = 20000;
    int repairFiles = 50000;  // old temporary files a bulk repair deletes, as many for its floor

    int TempLeaves() const;
    int TempFiles() const { return TempLeaves() * tempFilesPerLeaf; }
    // Old files are those whose number in their folder is a multiple of five.
    int OldTempFiles() const { return TempLeaves() * BrokenAmong(tempFilesPerLeaf); }
    std::string TempRoot() const { return work + "\\Temp"; }
    // Every leaf folder of the temporary tree, as "d00\d01\..." below TempRoot.
    std::vector<std::string> TempLeafFolders() const;
    static std::string TempFileName(int number);

    // The files of a bulk repair: "run" for the repair window, "floor" for the bare deletes;
    // 100 to a folder, r000\f00.tmp on, below RepairRoot().
    std::string RepairRoot() const { return work + "\\Repair"; }
    std::string RepairFile(const std::string& set, int index) const;

    std::string DesktopFolder() const { return work + "\\Desktop"; }
    std::string ProgramsFolder() const { return work + "\\Programs"; }
    // The desktop holds a fifth of the shortcuts, flat; the programs folder the rest,
    // 25 to a subfolder.
    std::string ShortcutPath(int index) const;

    int EntriesOf(const RegistryList& list) const {
        return registryEntries * ShareOf(list) / AllShares();
    }
    // The target number of a list's first entry: the lists take theirs one after the other.
    int FirstTargetOf(const RegistryList& list) const;
    // The name of the planted value or subkey with the target number `index`.
    static std::string EntryName(int index);
    // The file that planted item `index` names: shortcuts take the first numbers, registry
    // entries the following ones. Every number has its file below "Targets"; a broken item
    // names it below "Missing", which does not exist (a name as long, so that the paths of
    // all targets have the same shape).
    int Targets() const { return shortcuts + registryEntries; }
    std::string TargetFolder(int index, bool broken) const;
    static std::string TargetName(int index);
    std::string Target(int index, bool broken) const {
        return TargetFolder(index, broken) + "\\" + TargetName(index);
    }
};

}  // namespace bench
