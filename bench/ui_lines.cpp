#include "bench/ui_lines.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/timing.h"
#include "core/app_state.h"
#include "model/item.h"
#include "model/problem_list.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "ui/controls.h"
#include "ui/interaction.h"

namespace bench {

void ListForm::Design() {
    SetClientSize(12510, 8280);
    Add(lstMain, "lstMain", {120, 1440, 12255, 4935});
    for (const char* column : {"Type", "Category", "Location", "Description"})
        lstMain.AddColumn(column, 1440);
    Add(lblInfo, "lblInfo", {120, 6960, 12255, 375});
}

namespace {

// Problems of every kind, as a large scan leaves them; every UID differs.
void FillProblems(int records) {
    colProblems = ProblemCollection();
    constexpr long kinds[] = {kTypeRegistry, kTypeShortcut, kTypeFile};
    constexpr long statuses[] = {kStatusWrongUninstall, kStatusBrokenLink, kStatusUnusedFile};
    for (int i = 0; i < records; ++i) {
        auto item = std::make_shared<clsItem>();
        item->pType(kinds[i % 3]);
        item->pSTATUS = statuses[i % 3];
        item->pName("C:\\Users\\bench\\AppData\\Local\\Temp\\PurgelintBench\\t" +
                    std::to_string(i / 100) + "\\" + Plan::EntryName(i) + ".dat");
        item->pDescription = "The planted problem " + std::to_string(i);
        colProblems.Add(item);
    }
}

struct Row {
    int icon;
    std::string cells[4];
};

// The rows RefreshList shows for colProblems, worked out ahead for the floor.
std::vector<Row> RowsOfProblems() {
    std::vector<Row> rows;
    for (const auto& item : colProblems)
        rows.push_back(
            {item->pType() == kTypeRegistry   ? kIconRegistry
             : item->pType() == kTypeShortcut ? kIconShortcut
                                              : kIconFile,
             {item->pTypeName(), item->pStatusName(), item->pName(), item->pDescription}});
    return rows;
}

// The floor: the rows straight into the list view, one insert and three texts each, with
// no drawing until all are in.
void InsertRows(const ui::ListView& list, const std::vector<Row>& rows) {
    platform::ListViewSetRedraw(list.Hwnd(), false);
    platform::ListViewDeleteAllItems(list.Hwnd());
    for (const Row& row : rows) {
        const int index = platform::ListViewAppendRow(list.Hwnd(), row.cells[0], row.icon);
        for (int column = 1; column < 4; ++column)
            platform::ListViewSetItemText(list.Hwnd(), index, column, row.cells[column]);
    }
    platform::ListViewSetRedraw(list.Hwnd(), true);
}

// Whether the refreshed list shows the rows: count, keys, tags and the last row's texts.
bool ListShows(const ui::ListView& list, const std::vector<Row>& rows) {
    if (list.Count() != static_cast<int>(rows.size()) ||
        platform::ListViewGetItemCount(list.Hwnd()) != list.Count())
        return false;
    for (int row = 1; row <= list.Count(); ++row)
        if (list.Key(row) != colProblems.Item(row)->UID() || list.Tag(row) != std::to_string(row))
            return false;
    const int last = list.Count();
    for (int column = 0; column < 4; ++column)
        if (last > 0 && list.Text(last, column) != rows.back().cells[column]) return false;
    return last == 0 || list.Icon(last) == rows.back().icon;
}

}  // namespace

bool MeasureListRefresh(int records, int reps, const LinePrinter& print) {
    FillProblems(records);
    const std::vector<Row> rows = RowsOfProblems();
    ListForm shown("frmBenchList"), bare("frmBenchBare");
    shown.Show();
    bare.Show();
    const ProblemListView view{shown, shown.lstMain, shown.lblInfo};
    SetProblemListView(&view);
    InsertRows(bare.lstMain, rows);
    double best = 0, bestFloor = 0;
    bool right = true;
    for (int rep = 0; rep < reps; ++rep) {
        const double floorMs = Millis([&] { InsertRows(bare.lstMain, rows); });
        const double ms = Millis(RefreshList);
        right = right && ListShows(shown.lstMain, rows);
        best = rep == 0 ? ms : std::min(best, ms);
        bestFloor = rep == 0 ? floorMs : std::min(bestFloor, floorMs);
        ui::DoEvents();
    }
    SetProblemListView(nullptr);
    print("list-refresh-" + std::to_string(records), best, bestFloor);
    bare.Unload();
    shown.Unload();
    colProblems = ProblemCollection();
    if (!right) std::fprintf(stderr, "warning: the refreshed list does not show the problems\n");
    return right;
}

namespace {

// The plan's folders where the scan looks for the desktop, the programs and temporary files;
// no second temporary folder.
void PointScanAtPlan(const Plan& plan) {
    sDesktopFolder = plan.DesktopFolder();
    sProgramsFolder = plan.ProgramsFolder();
    sTempFolder = plan.TempRoot();
    sCacheFolder.clear();
}

// The scanners of the scan's phases, in their order, with no window to show progress in.
int ScanHeadless(const std::function<void()>& registryScanners) {
    colProblems = ProblemCollection();
    bScanRunning = true;
    ScanShortcuts(sDesktopFolder);
    ScanShortcuts(sProgramsFolder);
    registryScanners();
    ScanTempFiles(sTempFolder);
    bScanRunning = false;
    return colProblems.Count();
}

// The scan as the user starts it: the progress window shown modally runs every phase.
int ScanInWindow() {
    colProblems = ProblemCollection();
    frmProgress = std::make_unique<ProgressForm>();
    frmProgress->Show(ui::ShowMode::Modal);
    frmProgress.reset();
    return colProblems.Count();
}

}  // namespace

int MeasureScanInWindow(const Plan& plan, const std::function<void()>& registryScanners, int reps,
                        const LinePrinter& print) {
    PointScanAtPlan(plan);
    frmProgress.reset();
    double best = 0, bestFloor = 0;
    int found = 0, foundAlone = 0;
    for (int rep = 0; rep < reps; ++rep) {
        const double floorMs = Millis([&] { foundAlone = ScanHeadless(registryScanners); });
        const double ms = Millis([&] { found = ScanInWindow(); });
        best = rep == 0 ? ms : std::min(best, ms);
        bestFloor = rep == 0 ? floorMs : std::min(bestFloor, floorMs);
        if (ms > 60000) break;
    }
    print("scan-ui", best, bestFloor);
    colProblems = ProblemCollection();
    if (found == foundAlone) return found;
    std::fprintf(stderr, "warning: the scan found %d problems in its window, %d without\n", found,
                 foundAlone);
    return -1;
}

}  // namespace bench
