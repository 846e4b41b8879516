// The lines that time repairs: the repair window's conservative run over a hundred planted
// registry problems, beside one walk of the two trees it searches; and its aggressive run over
// many old temporary files, beside deleting them.
#pragma once

#include "bench/plan.h"
#include "bench/ui_lines.h"
#include "core/language.h"

namespace bench {

// The registry scanners find the planted problems; a hundred of them, spread over the lists,
// are repaired by the conservative method in the repair window, half of them with their file
// moved into the program-files folder (re-pointed there), the rest with it nowhere (deleted).
// The floor walks the Windows and the program-files trees once. False when the run repaired
// fewer records than it must.
bool MeasureConservativeRepair(const Plan& plan, const LinePrinter& print);

// The aggressive repair of the plan's old temporary files in the repair window, as the main
// window runs it: every row selected, the repair window over them, the list shown again without
// them (repair-files-N); the floor deletes as many files in a loop. False when a file stayed.
bool MeasureFileRepair(const Plan& plan, const core::Language& language, const LinePrinter& print);

}  // namespace bench
