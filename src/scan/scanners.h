// The scanners that the scan's phases run. Each appends what it finds to colProblems,
// reports every item it looks at through ShowProgress and stops once bScanRunning is false.
#pragma once

#include <string>

#include "platform/registry.h"

// Shortcuts below `folder` whose target is missing.
void ScanShortcuts(const std::string& folder);
// Files below `folder` older than the one-year limit.
void ScanTempFiles(const std::string& folder);
// The value `valueName` of every subkey of `key` naming a missing file, as `status`.
bool ScanRegistrySubkeys(platform::RootKey root, const std::string& key,
                         const std::string& valueName, bool recursive, long status);
// Every value of `key` naming a missing file, in its data or (pathInData false) its name.
bool ScanRegistryValues(platform::RootKey root, const std::string& key, bool pathInData);
// Help-file entries of `key` pointing to a missing file.
bool ScanHelpFiles(platform::RootKey root, const std::string& key);
