#include "repair/repair_command.h"

#include <memory>
#include <string>

#include "core/translate.h"
#include "model/item.h"
#include "model/problem_list.h"
#include "repair/backup.h"
#include "repair/repair_options.h"
#include "repair/repair_progress.h"
#include "ui/interaction.h"

long lRepaired = 0;

namespace {

// The repair progress window over the selected rows; frmRepairRun names it while it is open.
void RunRepairWindow(ui::Form& owner, ui::ListView& lstMain) {
    const auto window = std::make_unique<RepairProgressForm>(lstMain);
    frmRepairRun = window.get();
    struct Forget {
        ~Forget() { frmRepairRun = nullptr; }
    } forget;
    window->Show(ui::ShowMode::Modal, &owner);
}

// Takes the records marked repaired out of colProblems in one pass, the others keeping
// their order; returns how many went.
long RemoveRepairedRecords() {
    ProblemCollection kept;
    long removed = 0;
    for (const auto& item : colProblems) {
        if (item->pType() == kTypeRepaired)
            ++removed;
        else
            kept.Add(item);
    }
    colProblems = std::move(kept);
    return removed;
}

}  // namespace

void RunRepairCommand(ui::Form& owner, ui::ListView& lstMain) {
    if (colProblems.Count() == 0) {
        ui::MsgBox(Translate("msgbox_firstfindproblems",
                             "No problems to repair. Please first find issues clicking on "
                             "button 'Find problems'"),
                   ui::vbOKOnly, Translate("msgbox_title_warning", "Warning"));
        return;
    }
    {
        RepairOptionsForm options;
        options.Show(ui::ShowMode::Modal, &owner);
    }
    if (!bRepairConfirmed) return;
    // Nothing is changed before the backup is kept, or the user has chosen to go without.
    if (bBackupRegistry && !Backupregistry()) return;
    RunRepairWindow(owner, lstMain);

    lRepaired = RemoveRepairedRecords();
    RefreshList();
    SelectRows(kSelectAll);
    ui::MsgBox(Translate("msgbox_repaired", "") + " " + std::to_string(lRepaired), ui::vbOKOnly);
}
