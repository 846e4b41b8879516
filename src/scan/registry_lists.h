// The registry lists a scan reads, in the order it reads them: the scan, the benchmark and
// the tests all take them from here.
#pragma once

#include <vector>

#include "core/problem.h"
#include "platform/registry.h"

namespace scan {

// Where an entry of a list keeps the path it names.
enum class PathIn {
    SubkeyValue,        // a value of every subkey, at every depth
    ValueData,          // the data of every value of the key
    ValueName,          // the name of every value (the data is a use count)
    HelpFolderAndName,  // the data holds the folder, the name the file
};

struct RegistryList {
    platform::RootKey root;
    const char* key;
    PathIn pathIn;
    const char* valueName;  // for SubkeyValue: the value read in each subkey ("" the default)
    core::Category category;
    core::RegistryView view = core::RegistryView::Native;
};

const std::vector<RegistryList>& RegistryLists();

}  // namespace scan
