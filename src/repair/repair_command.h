// "Repair selected problems": the repair run over the selected rows of the problem list.
#pragma once

namespace ui {
class Form;
class ListView;
}  // namespace ui

// Records repaired by the last run.
extern long lRepaired;

// The repair command of the main window, run by its repair button and by a Yes to the scan
// summary: the options dialog and the backup, the repair progress window over the selected
// rows of `lstMain`, then the list rebuilt without the repaired records and their count.
void RunRepairCommand(ui::Form& owner, ui::ListView& lstMain);
