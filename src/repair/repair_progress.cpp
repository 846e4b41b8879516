#include "repair/repair_progress.h"

#include <charconv>
#include <stdexcept>

#include "core/translate.h"
#include "model/item.h"
#include "repair/missing_file.h"
#include "repair/repair_actions.h"
#include "repair/repair_options.h"
#include "ui/interaction.h"

RepairProgressForm* frmRepairRun = nullptr;
std::string sRepairItemName;

namespace {

// A row whose tag leads to no record: the list no longer matches colProblems.
struct RowWithoutRecord : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The record behind a row: its tag is the record's 1-based position in colProblems.
clsItem& RecordOfTag(const std::string& tag) {
    int position = 0;
    const auto [end, ec] = std::from_chars(tag.data(), tag.data() + tag.size(), position);
    if (tag.empty() || ec != std::errc() || end != tag.data() + tag.size())
        throw RowWithoutRecord("the row's tag is not a number: \"" + tag + "\"");
    if (position < 1 || position > colProblems.Count())
        throw RowWithoutRecord("no record at position " + tag);
    return *colProblems.Item(position);
}

// Old temporary files go whatever the method; the aggressive method deletes every entry;
// the conservative one re-points the entry to the missing file when it is found, and
// deletes it when it is not, when the choice is cancelled or when re-pointing fails.
void Repair(clsItem& item) {
    if ((item.pType() == kTypeFile && item.pSTATUS == kStatusUnusedFile) ||
        iRepairMethod != kRepairConservative) {
        DeleteItem(item);
        return;
    }
    sRepairItemName = item.pName();
    const std::string found = FindMissingFile(item);
    if (!ChangeItem(item, found)) DeleteItem(item);
}

}  // namespace

RepairProgressForm::RepairProgressForm(ui::ListView& lstMain)
    : ui::Form("frmRepairProgress"), lstMain_(lstMain) {
    SetBorder(platform::BorderStyle::FixedDialog);
    SetStartPosition(ui::StartPosition::CenterOwner);
}

void RepairProgressForm::Design() {
    SetClientSize(7920, 2325);
    SetCaption("Repair progress");
    Add(lbl1, "lbl1", {120, 120, 7695, 255});
    Add(lbl2, "lbl2", {120, 360, 7695, 615});
    Add(ProgressBar1, "ProgressBar1", {120, 1080, 7695, 495});
    Add(btnCancel, "btnCancel", {2880, 1680, 2415, 495});
    btnCancel.Click = [this] { btnCancel_Click(); };
    SetDialogButtons(nullptr, &btnCancel);
    Add(Timer1, 300, true);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void RepairProgressForm::Form_Load() {
    SetCaption(Translate("frmrepairprogress_caption", "Progress"));
    btnCancel.SetCaption(Translate("frmrepairprogress_cancel", "Cancel"));
    int selected = 0;
    for (int row = 1; row <= lstMain_.Count(); ++row)
        if (lstMain_.Selected(row)) ++selected;
    if (selected > 0) ProgressBar1.SetRange(0, selected);
    bRunning = true;
}

// The run notices it before its next row: the record in hand is finished first.
void RepairProgressForm::btnCancel_Click() {
    bRunning = false;
}

void RepairProgressForm::Form_Unload(int&) {
    bRunning = false;
}

// The whole run happens inside this one tick. Records stay in colProblems until the window
// has gone, so the rows' positions hold throughout; a repaired record is marked kind -1.
void RepairProgressForm::Timer1_Timer() {
    Timer1.SetEnabled(false);
    ResetMissingFileIndex();
    const std::string prefix = Translate("repairprogress_info", "Repairing") + " ";
    int step = ProgressBar1.Value();
    try {
        for (int row = 1; row <= lstMain_.Count(); ++row) {
            if (!bRunning) break;
            if (!lstMain_.Selected(row)) {
                // At the pace a screen takes: thousands of unselected rows pass in a moment.
                if (ui::ProgressRefreshDue()) ui::DoEvents();
                continue;
            }
            clsItem& item = RecordOfTag(lstMain_.Tag(row));
            // The line and the bar paint at once when they change: they change at the pace a
            // screen takes, and always for a record that follows a slow one.
            if (ProgressBar1.Max() > step) ++step;
            if (ui::ProgressRefreshDue()) {
                lbl1.SetCaption(prefix + item.pName());
                ProgressBar1.SetValue(step);
            }
            Repair(item);
            ui::DoEvents();
        }
    } catch (const RowWithoutRecord&) {
        // The run ends at the first row without a record; what was marked so far stays
        // marked. Any other failure ends it at the window's boundary, which reports it.
    }
    Unload();
}
