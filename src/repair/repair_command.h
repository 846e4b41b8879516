// "Repair selected problems": the repair run over the selected rows of the problem list.
#pragma once

// The repair command of the main window, run by its repair button and by a Yes to the scan
// summary. The repair run itself is not built yet: until it is, nothing is repaired.
void RunRepairCommand();
