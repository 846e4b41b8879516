// The scanners that the scan's phases run. Each appends what it finds to colProblems,
// reports every item it looks at through ShowProgress and stops once bScanRunning is false.
#pragma once

#include <string>

#include "platform/registry.h"

// Shortcuts below `folder` whose target is missing.
void ScanShortcuts(const std::string& folder);
// Records the shortcut file `linkPath` when its target is missing.
void CheckShortcut(const std::string& linkPath);
// Files below `folder` older than the one-year limit. Takes the folder by reference: the
// scan may change it.
void ScanTempFiles(std::string& folder);

// The value `valueName` ("" for the default value) of every subkey of `key`, and with
// `recursive` of their subkeys at every depth, naming a missing file: a problem of `status`.
// All children of a key are checked before the first child's subtree.
void ScanRegistrySubkeys(platform::RootKey root, const std::string& key, bool recursive,
                         const std::string& valueName, long status);
// Every value of `key` naming a missing file, in its data or (pathInData false) its name.
void ScanRegistryValues(platform::RootKey root, const std::string& key, bool pathInData);
// Help-file entries of `key` (data: the folder, name: the file) pointing to a missing file.
void ScanHelpFiles(platform::RootKey root, const std::string& key);

// Records a problem when the file that `registryText` names is missing. Only paths that begin
// with a drive letter are tested; an unquoted command line passes when a prefix of it cut at
// a blank exists; a path on a drive that is not there cannot be verified and passes too.
void CheckRegistryPath(const std::string& registryText, const std::string& location, long status,
                       platform::RootKey root, const std::string& keyPath,
                       const std::string& valueName, long cureMethod);
