// What the benchmark needs of the machine it runs on: the sandbox natively, the real system
// under Wine. Registry entries are planted through the platform calls on both.
#pragma once

#include <string>
#include <vector>

#include "platform/window.h"

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
// The files of the bulk repair, both sets; natively written here, under Wine by
// scripts/bench.sh (this checks they are there). False, with a message, when not.
bool MakeRepairFiles(const Plan& plan);

// A row as the problem list shows it.
struct ListRow {
    int icon = 0;
    std::string cells[4];
};
// The old way of showing a list, the floor of the list lines: the rows inserted one by one,
// each with its texts and icon, into a list view on `form` that keeps them itself, its drawing
// held back until all are in. Milliseconds; negative where there is no such list view (the
// sandbox's draws nothing and asks for nothing: a floor of it would mean nothing).
double InsertIntoBareList(platform::Hwnd form, const std::vector<ListRow>& rows);

// A shortcut file pointing at `target`, its folders made as needed.
void MakeShortcut(const std::string& link, const std::string& target);
// An empty file at `path`, its folders made as needed; and a folder removed with all it holds.
void MakeFile(const std::string& path);
void RemoveFolder(const std::string& folder);
// Removes the planted files (the registry is cleaned by the caller).
void CleanUpFiles(const Plan& plan);

}  // namespace bench
