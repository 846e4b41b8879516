#include "scan/scan_driver.h"

#include <memory>

#include "core/app_state.h"
#include "core/first_run.h"
#include "core/settings.h"
#include "core/translate.h"
#include "model/item.h"
#include "model/problem_list.h"
#include "scan/progress_window.h"
#include "ui/interaction.h"

namespace {

// The summary's texts exist only in the language file.
std::string T(const std::string& key) {
    return Translate("scanresult_" + key, "");
}

void EmptyProblems() {
    while (colProblems.Count() >= 1)
        colProblems.Remove(colProblems.Count());
}

// The first scan's count is kept, and handed to the companion updater; a cancelled first
// scan hands over -1 instead.
void ReportFirstScan() {
    if (lFirstErrors >= 0) return;
    lFirstErrors = colProblems.Count();
    WriteSettingLong("firsterrors", lFirstErrors);
    HandOffFirstErrors(bScanCancelled ? -1 : lFirstErrors);
}

// One group of the summary: the count between its two texts, then the advice for it.
// `many` is the count from which the third advice applies.
std::string Group(const std::string& group, int count, int many) {
    const char* advice = count < 1 ? "advice1" : count < many ? "advice2" : "advice3";
    return T(group + "1") + " " + std::to_string(count) + " " + T(group + "2") + T(group + advice);
}

}  // namespace

std::string ScanSummary() {
    int files = 0, registry = 0, shortcuts = 0;
    for (const auto& item : colProblems) {
        if (item->pType() == kTypeFile) {
            ++files;
        } else if (item->pType() == kTypeRegistry) {
            ++registry;
        } else {
            ++shortcuts;
        }
    }
    return T("1") + Group("files", files, 50) + Group("registry", registry, 50) +
           Group("shortcuts", shortcuts, 10) + T("final");
}

void FindProblems(ui::Form& owner, const std::function<void()>& repairCommand) {
    EmptyProblems();
    RefreshList();
    ui::DoEvents();
    frmProgress = std::make_unique<ProgressForm>();
    frmProgress->Show(ui::ShowMode::Modal, &owner);

    RefreshList();
    SelectRows(kSelectAll);
    ReportFirstScan();
    if (colProblems.Count() == 0) {
        ui::MsgBox(Translate("msgbox_congratnoproblems", ""), ui::vbOKOnly);
        return;
    }
    const int answer = ui::MsgBox(ScanSummary(), ui::vbYesNo | ui::vbExclamation, T("caption"));
    if (answer == ui::vbYes && repairCommand) repairCommand();
}
