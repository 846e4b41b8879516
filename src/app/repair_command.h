// "Repair selected problems": the options, the backup and the repair window over the
// selected rows, then the list without what was repaired.
#pragma once

#include "app/problem_list_view.h"
#include "app/session.h"
#include "core/problem.h"
#include "forms/form.h"

namespace app {

// The repair command of the main window, run by its repair button and by a Yes to the scan
// summary. Returns how many problems were repaired.
long RunRepairCommand(forms::Form& owner, const Session& session, core::Problems& problems,
                      ProblemListView& list);

}  // namespace app
