// What the benchmark needs of the machine it runs on: the sandbox natively, the real system
// under Wine. Registry entries are planted through the platform calls on both.
#pragma once

#include <string>

#include "bench/plan.h"

namespace bench {

// "native" or "wine": the last part of every measurement's name.
extern const char* const kPlatformName;

// Gets the program's folder ready (its languages) and fills in `plan.work` when the caller
// named no workspace.
void PrepareMachine(Plan& plan);
// The files of the plan: the temporary tree and a file for every target number. Written
// here natively; under Wine scripts/bench.sh writes them with host tools (a hundred times
// faster), and this only checks that they are there. False, with a message, when not.
bool MakeFiles(const Plan& plan);
// A shortcut file pointing at `target`, its folders made as needed.
void MakeShortcut(const std::string& link, const std::string& target);
// An empty file at `path`, its folders made as needed; and a folder removed with all it holds.
void MakeFile(const std::string& path);
void RemoveFolder(const std::string& folder);
// Removes the planted files (the registry is cleaned by the caller).
void CleanUpFiles(const Plan& plan);

}  // namespace bench
