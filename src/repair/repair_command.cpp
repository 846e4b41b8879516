#include "repair/repair_command.h"

// The place the repair run takes: repair options, backup, the repair progress window over
// the selected rows, then the list without the repaired problems. Not built yet, so it
// deliberately does nothing and claims nothing.
void RunRepairCommand() {}
