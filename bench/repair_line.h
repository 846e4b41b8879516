// The line that times a conservative repair: the repair window's run over a hundred planted
// registry problems, beside one walk of the two trees it searches.
#pragma once

#include "bench/plan.h"
#include "bench/ui_lines.h"

namespace bench {

// The registry scanners find the planted problems; a hundred of them, spread over the lists,
// are repaired by the conservative method in the repair window, half of them with their file
// moved into the program-files folder (re-pointed there), the rest with it nowhere (deleted).
// The floor walks the Windows and the program-files trees once. False when the run repaired
// fewer records than it must.
bool MeasureConservativeRepair(const Plan& plan, const LinePrinter& print);

}  // namespace bench
