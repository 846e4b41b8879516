// The floor of each scanner: the least work that answers the same question on the same
// machine, measured beside the scanner in the same run. Each returns how many broken items
// it found, so that a floor that answers wrongly shows up as well.
#pragma once

#include <string>

#include "bench/plan.h"

namespace bench {

// Existence as FileExists answers it: the attributes can be read (a file in use included),
// else the file opens for reading. One call for anything that is there.
bool Exists(const std::string& path);

// One bare listing of each folder; the listing's own dates decide. Counts the old files.
int FloorTempFiles(const std::string& folder);
// The listing, then each shortcut loaded and its target tested. Counts the broken ones.
int FloorShortcuts(const std::string& folder);
// One enumeration pass per key that returns each value's data with it, one existence test
// per path. Counts the entries naming missing files.
int FloorRegistryList(const RegistryList& list);

// One bare listing of every folder of the tree, links not entered. Counts the entries.
int FloorWalkTree(const std::string& folder);

}  // namespace bench
