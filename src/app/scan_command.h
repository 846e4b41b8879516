// "Find problems": one complete scan in the scan window, then the list, the first scan's
// report and the summary that offers to repair at once.
#pragma once

#include <string>

#include "app/problem_list_view.h"
#include "app/session.h"
#include "core/problem.h"
#include "forms/form.h"

namespace app {

// Empties the problems, runs the scan over `owner`, fills and selects the list and shows the
// summary. True when the user answered Yes to repairing at once.
bool FindProblems(forms::Form& owner, Session& session, core::Problems& problems,
                  ProblemListView& list);

// The summary of the problems by kind, worded by the language file alone.
std::string ScanSummary(const core::Problems& problems, const core::Language& language);

}  // namespace app
