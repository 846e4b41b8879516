// The scanners a scan runs. Each appends what it finds to the scope's problems, shows every
// item it looks at through the scope's progress and stops once that says not to go on.
#pragma once

#include <functional>
#include <string>

#include "core/folders.h"
#include "core/language.h"
#include "core/problem.h"
#include "core/progress.h"
#include "scan/registry_lists.h"

namespace scan {

// What a scan works with and where its finds go.
struct Scope {
    const core::Folders& folders;
    const core::Language& language;
    core::Problems& problems;
    core::Progress& progress;
};

// Shortcuts below `folder` whose target is missing.
void ScanShortcuts(const std::string& folder, Scope& scope);
// Records the shortcut file `linkPath` when its target is missing.
void CheckShortcut(const std::string& linkPath, Scope& scope);
// Files below `folder` older than the one-year limit.
void ScanTempFiles(std::string folder, Scope& scope);
// Every entry of the list naming a missing file. Subkeys: all children of a key are checked
// before the first child's subtree.
void ScanRegistryList(const RegistryList& list, Scope& scope);

// The whole scan in its order: the user's shortcuts, the registry lists, the temporary
// files and the cache. `step` moves the bar one of kScanSteps steps on.
constexpr int kScanSteps = 14;
void RunScan(Scope& scope, const std::function<void()>& step);

}  // namespace scan
