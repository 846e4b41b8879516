#include "bench/ui_lines.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/problem_list_view.h"
#include "app/scan_window.h"
#include "app/session.h"
#include "bench/machine.h"
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

// The rows the list shows for the problems, worked out ahead for the floor.
std::vector<ListRow> RowsOf(const core::Problems& problems, const core::Language& language) {
    std::vector<ListRow> rows;
    for (const core::Problem& problem : problems)
        rows.push_back({problem.kind == core::ProblemKind::Registry   ? app::kIconRegistry
                        : problem.kind == core::ProblemKind::Shortcut ? app::kIconShortcut
                                                                      : app::kIconFile,
                        {core::KindText(problem.kind, language),
                         core::CategoryText(problem.category, language), problem.location,
                         problem.description}});
    return rows;
}

// Whether the list shows the rows, all of them selected: the count, and the first and last
// rows' texts and icons as the view reads them.
bool ListShows(const forms::ListView& list, const std::vector<ListRow>& rows) {
    if (list.Count() != static_cast<int>(rows.size()) || list.SelectedRows().size() != rows.size())
        return false;
    for (const int row : {1, list.Count()})
        for (int column = 0; column < 4; ++column)
            if (list.Text(row, column) != rows[row - 1].cells[column] ||
                list.Icon(row) != rows[row - 1].icon)
                return false;
    return true;
}

// Every other row selected, the first one among them: the inverse of this is the most work.
void SelectEveryOther(forms::ListView& list) {
    list.SelectAll(false);
    for (int row = 1; row <= list.Count(); row += 2)
        list.SetSelected(row, true);
}

template <typename Work>
double Best(int reps, Work&& work) {
    double best = 0;
    for (int rep = 0; rep < reps; ++rep) {
        const double ms = work();
        best = rep == 0 ? ms : std::min(best, ms);
    }
    return best;
}

}  // namespace

bool MeasureListLines(int records, int reps, const core::Language& language,
                      const LinePrinter& print) {
    const core::Problems problems = ManyProblems(records);
    const std::vector<ListRow> rows = RowsOf(problems, language);
    ListForm shown("frmBenchList"), bare("frmBenchBare");
    bare.Show();
    const double floorMs = InsertIntoBareList(bare.Hwnd(), rows);
    bare.Unload();
    if (floorMs < 0) return true;  // no real list view here
    shown.Show();
    app::ProblemListView view(shown.lstMain, shown.lblInfo, language);
    bool right = true;
    const std::string size = std::to_string(records);
    const core::Problems none;
    // An empty list given the problems, all selected and drawn.
    const auto showMs = [&](const core::Problems& shownProblems) {
        view.Refresh(none);
        return Millis([&] {
            view.Refresh(shownProblems);
            view.Select(app::Selection::All);
            forms::RunPendingEvents();  // drawn
        });
    };
    // Fifty rows, more than a page: what showing costs whatever the number of rows (the scroll
    // bar coming, the header and a page of rows drawn), against the same floor.
    const core::Problems page(problems.begin(), problems.begin() + std::min(records, 50));
    print("list-refresh-50", Best(reps, [&] { return showMs(page); }), floorMs);
    print("list-refresh-" + size,
          Best(reps,
               [&] {
                   const double ms = showMs(problems);
                   right = right && ListShows(shown.lstMain, rows);
                   return ms;
               }),
          floorMs);
    print("select-invert-" + size,
          Best(reps,
               [&] {
                   SelectEveryOther(shown.lstMain);
                   const double ms = Millis([&] {
                       view.Select(app::Selection::Invert);
                       forms::RunPendingEvents();
                   });
                   right =
                       right && !shown.lstMain.Selected(1) && shown.lstMain.Selected(2) &&
                       shown.lstMain.SelectedRows().size() == static_cast<std::size_t>(records / 2);
                   return ms;
               }),
          floorMs);
    // What a scan leaves: every row selected; its inverse is none, in one message.
    print("select-invert-all-" + size,
          Best(reps,
               [&] {
                   view.Select(app::Selection::All);
                   const double ms = Millis([&] {
                       view.Select(app::Selection::Invert);
                       forms::RunPendingEvents();
                   });
                   right = right && shown.lstMain.SelectedRows().empty();
                   return ms;
               }),
          floorMs);
    shown.Unload();
    if (!right) std::fprintf(stderr, "warning: the list does not show the problems as it should\n");
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
