#include "bench/ui_lines.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/problem_list_view.h"
#include "app/scan_window.h"
#include "app/session.h"
#include "bench/scan_context.h"
#include "bench/timing.h"
#include "core/problem.h"
#include "forms/controls.h"
#include "forms/interaction.h"
#include "scan/scanners.h"

namespace bench {

void ListForm::Design() {
    SetClientSize(12510, 8280);
    Add(lstMain, "lstMain", {120, 1440, 12255, 4935});
    for (const char* column : {"Type", "Category", "Location", "Description"})
        lstMain.AddColumn(column, 1440);
    Add(lblInfo, "lblInfo", {120, 6960, 12255, 375});
}

namespace {

// Problems of every kind, as a large scan leaves them; every identity differs.
core::Problems ManyProblems(int records) {
    constexpr core::ProblemKind kinds[] = {core::ProblemKind::Registry, core::ProblemKind::Shortcut,
                                           core::ProblemKind::File};
    constexpr core::Category categories[] = {
        core::Category::WrongUninstall, core::Category::BrokenLink, core::Category::UnusedFile};
    core::Problems problems;
    for (int i = 0; i < records; ++i) {
        core::Problem problem;
        problem.kind = kinds[i % 3];
        problem.category = categories[i % 3];
        problem.location = "C:\\Users\\bench\\AppData\\Local\\Temp\\PurgelintBench\\t" +
                           std::to_string(i / 100) + "\\" + Plan::EntryName(i) + ".dat";
        problem.description = "The planted problem " + std::to_string(i);
        problems.push_back(std::move(problem));
    }
    return problems;
}

struct Row {
    int icon;
    std::string cells[4];
};

// The rows the list shows for the problems, worked out ahead for the floor.
std::vector<Row> RowsOf(const core::Problems& problems, const core::Language& language) {
    std::vector<Row> rows;
    for (const core::Problem& problem : problems)
        rows.push_back({problem.kind == core::ProblemKind::Registry   ? app::kIconRegistry
                        : problem.kind == core::ProblemKind::Shortcut ? app::kIconShortcut
                                                                      : app::kIconFile,
                        {core::KindText(problem.kind, language),
                         core::CategoryText(problem.category, language), problem.location,
                         problem.description}});
    return rows;
}

// The floor: the rows straight into the list view, one insert and three texts each, with
// no drawing until all are in.
void InsertRows(const forms::ListView& list, const std::vector<Row>& rows) {
    platform::ListViewSetRedraw(list.Hwnd(), false);
    platform::ListViewDeleteAllItems(list.Hwnd());
    for (const Row& row : rows) {
        const int index = platform::ListViewAppendRow(list.Hwnd(), row.cells[0], row.icon);
        for (int column = 1; column < 4; ++column)
            platform::ListViewSetItemText(list.Hwnd(), index, column, row.cells[column]);
    }
    platform::ListViewSetRedraw(list.Hwnd(), true);
}

// Whether the refreshed list shows the rows: count, keys, tags (the 0-based positions) and
// the last row's texts.
bool ListShows(const forms::ListView& list, const core::Problems& problems,
               const std::vector<Row>& rows) {
    if (list.Count() != static_cast<int>(rows.size()) ||
        platform::ListViewGetItemCount(list.Hwnd()) != list.Count())
        return false;
    for (int row = 1; row <= list.Count(); ++row)
        if (list.Key(row) != problems[row - 1].Identity() ||
            list.Tag(row) != std::to_string(row - 1))
            return false;
    const int last = list.Count();
    for (int column = 0; column < 4; ++column)
        if (last > 0 && list.Text(last, column) != rows.back().cells[column]) return false;
    return last == 0 || list.Icon(last) == rows.back().icon;
}

}  // namespace

bool MeasureListRefresh(int records, int reps, const core::Language& language,
                        const LinePrinter& print) {
    const core::Problems problems = ManyProblems(records);
    const std::vector<Row> rows = RowsOf(problems, language);
    ListForm shown("frmBenchList"), bare("frmBenchBare");
    shown.Show();
    bare.Show();
    app::ProblemListView view(shown, shown.lstMain, shown.lblInfo, language);
    InsertRows(bare.lstMain, rows);
    double best = 0, bestFloor = 0;
    bool right = true;
    for (int rep = 0; rep < reps; ++rep) {
        const double floorMs = Millis([&] { InsertRows(bare.lstMain, rows); });
        const double ms = Millis([&] { view.Refresh(problems); });
        right = right && ListShows(shown.lstMain, problems, rows);
        best = rep == 0 ? ms : std::min(best, ms);
        bestFloor = rep == 0 ? floorMs : std::min(bestFloor, floorMs);
        forms::RunPendingEvents();
    }
    print("list-refresh-" + std::to_string(records), best, bestFloor);
    bare.Unload();
    shown.Unload();
    if (!right) std::fprintf(stderr, "warning: the refreshed list does not show the problems\n");
    return right;
}

int MeasureScanInWindow(const Plan& plan, int reps, const LinePrinter& print) {
    // Without a window: the scan's phases in their order, watched by nobody.
    ScanContext alone(plan);
    // In the window: the same folders and texts, the window watching.
    app::Session session;
    session.folders = alone.folders;
    core::Problems problems;
    double best = 0, bestFloor = 0;
    int found = 0, foundAlone = 0;
    for (int rep = 0; rep < reps; ++rep) {
        const double floorMs = Millis([&] {
            foundAlone = alone.Run([](scan::Scope& scope) { scan::RunScan(scope, [] {}); });
        });
        const double ms = Millis([&] {
            problems.clear();
            app::ScanWindow window(session, problems);
            window.Show(forms::ShowMode::Modal);
            found = static_cast<int>(problems.size());
        });
        best = rep == 0 ? ms : std::min(best, ms);
        bestFloor = rep == 0 ? floorMs : std::min(bestFloor, floorMs);
        if (ms > 60000) break;
    }
    print("scan-ui", best, bestFloor);
    if (found == foundAlone) return found;
    std::fprintf(stderr, "warning: the scan found %d problems in its window, %d without\n", found,
                 foundAlone);
    return -1;
}

}  // namespace bench
