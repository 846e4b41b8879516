#include "bench/repair_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/problem_list_view.h"
#include "app/repair_window.h"
#include "repair/restore.h"
#include "app/session.h"
#include "bench/floors.h"
#include "bench/machine.h"
#include "bench/scan_context.h"
#include "bench/timing.h"
#include "core/problem.h"
#include "forms/interaction.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "repair/search.h"

namespace bench {

namespace {

constexpr int kRecords = 100;

// The trees the search walks, as start-up finds them. The sandbox has neither: there the
// planted temporary tree stands for the Windows folder.
void FindSearchedFolders(const Plan& plan, core::Folders& folders) {
    const core::Folders machine = core::Folders::OfThisMachine();
    folders.windows = machine.windows.empty() ? plan.TempRoot() : machine.windows;
    folders.programFiles =
        machine.programFiles.empty() ? plan.work + "\\Program Files" : machine.programFiles;
}

// A hundred planted registry problems, spread evenly over everything the scanners found.
core::Problems PlantedRegistryProblems(ScanContext& context) {
    context.Run(ScanRegistryLists);
    std::vector<const core::Problem*> planted;
    for (const core::Problem& problem : context.problems)
        if (problem.kind == core::ProblemKind::Registry &&
            problem.missingFile.find(kMark) != std::string::npos)
            planted.push_back(&problem);
    core::Problems picked;
    const size_t stride = std::max<size_t>(1, planted.size() / kRecords);
    for (size_t i = 0; i < planted.size() && picked.size() < kRecords; i += stride)
        picked.push_back(*planted[i]);
    context.problems.clear();
    return picked;
}

// The program-files tree of a large machine: as many installed files as the machine's
// entries name, a hundred to a folder, none named like a missing file.
void PlantInstalledFiles(const Plan& plan, const std::string& folder) {
    char name[64];
    for (int i = 0; i < plan.Targets(); ++i) {
        std::snprintf(name, sizeof name, "\\app%03d\\file%03d.bin", i / 100, i % 100);
        MakeFile(folder + name);
    }
}

// The file's name with the folder that holds it: a find in a folder of the missing file's own
// folder's name is re-pointed to without asking.
std::string FolderAndFileOf(const std::string& path) {
    return path.substr(path.rfind('\\', path.rfind('\\') - 1) + 1);
}

int Repaired(const core::Problems& problems) {
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [](const core::Problem& p) { return p.repaired; }));
}

// The repair window, noting when its run starts: the run's first look at the trees comes
// before anything else it does that takes time.
class TimedRepairWindow : public app::RepairWindow {
  public:
    using app::RepairWindow::RepairWindow;

    void Looking(const std::string& text) override {
        if (!started_) started_ = std::chrono::steady_clock::now();
        app::RepairWindow::Looking(text);
    }
    std::optional<std::chrono::steady_clock::time_point> Started() const { return started_; }

  private:
    std::optional<std::chrono::steady_clock::time_point> started_;
};

}  // namespace

bool MeasureConservativeRepair(const Plan& plan, const LinePrinter& print) {
    ScanContext context(plan);
    core::Problems records = PlantedRegistryProblems(context);
    FindSearchedFolders(plan, context.folders);
    const core::Folders& folders = context.folders;
    const std::string moved = folders.programFiles + "\\" + kMark;
    for (size_t i = 0; i < records.size(); i += 2)
        MakeFile(moved + "\\" + FolderAndFileOf(records[i].missingFile));
    PlantInstalledFiles(plan, moved + "\\Installed");

    // Floor: the walk, once to warm the caches as the run's own search would find them.
    FloorWalkTree(folders.windows);
    FloorWalkTree(folders.programFiles);
    const double floorMs = Millis([&] {
        FloorWalkTree(folders.windows);
        FloorWalkTree(folders.programFiles);
    });

    // The search alone, without a window: the index built once, then a look-up per record.
    size_t found = 0;
    const double searchMs = Millis([&] {
        repair::MissingFileSearch search(folders, context.language, context.progress);
        for (const core::Problem& problem : records)
            found += !search.Candidates(problem).empty();
    });
    print("part-repair-search-" + std::to_string(records.size()), searchMs, floorMs);
    const bool foundMoved = found == (records.size() + 1) / 2;
    if (!foundMoved)
        std::fprintf(stderr, "warning: repair-conservative: %zu of %zu moved files found\n", found,
                     (records.size() + 1) / 2);

    ListForm host("frmBenchRepair");
    host.Show();
    app::Session session;
    session.folders = folders;
    std::vector<std::size_t> positions(records.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    repair::RunBackup backup(repair::Method::Conservative);
    TimedRepairWindow run(session, repair::Method::Conservative, records, positions, backup);
    // The window waits 300 ms before its timer starts the run, by design: the line times the
    // run, from its first look at the trees until the window has closed.
    run.Show(forms::ShowMode::Modal, &host);
    const auto ended = std::chrono::steady_clock::now();
    const double ms =
        run.Started() ? std::chrono::duration<double, std::milli>(ended - *run.Started()).count()
                      : 0.0;

    print("repair-conservative-" + std::to_string(records.size()), ms, floorMs);

    const int repaired = Repaired(records);
    host.Unload();
    RemoveFolder(moved);
    // Every record is deleted or re-pointed, but for application paths that are not found:
    // their value has no name and is not deleted.
    if (foundMoved && static_cast<int>(records.size()) == kRecords && repaired >= kRecords / 2)
        return true;
    std::fprintf(stderr, "warning: repair-conservative: %zu records, %d repaired\n", records.size(),
                 repaired);
    return false;
}

namespace {

// The old temporary files as the temporary-folder scan reports them.
core::Problems OldTempFiles(const Plan& plan, const core::Language& language) {
    core::Problems problems(plan.repairFiles);
    for (int i = 0; i < plan.repairFiles; ++i) {
        core::Problem& problem = problems[i];
        problem.kind = core::ProblemKind::File;
        problem.category = core::Category::UnusedFile;
        problem.location = problem.file = plan.RepairFile("run", i);
        problem.description =
            language.Text("description_oldfile", "File in temporary folder, last used") +
            " 1/1/2020";
    }
    return problems;
}

}  // namespace

bool MeasureFileRepair(const Plan& plan, const core::Language& language, const LinePrinter& print) {
    if (!MakeRepairFiles(plan)) return false;
    int floorLeft = 0;
    const double floorMs = Millis([&] {
        for (int i = 0; i < plan.repairFiles; ++i)
            floorLeft +=
                platform::RemoveFile(plan.RepairFile("floor", i)) != platform::kErrorSuccess;
    });
    core::Problems problems = OldTempFiles(plan, language);
    ListForm host("frmBenchFileRepair");
    host.Show();
    app::ProblemListView list(host.lstMain, host.lblInfo, language);
    list.Refresh(problems);
    list.Select(app::Selection::All);
    app::Session session;
    // The window waits 300 ms before its timer starts the run, by design: the line counts it,
    // and the run's record, as every repair keeps one.
    repair::RunBackup backup(repair::Method::Aggressive);
    const double ms = Millis([&] {
        RunRepairWindow(host, session, repair::Method::Aggressive, problems,
                        list.SelectedProblems(problems.size()), backup);
        backup.Save();
        std::erase_if(problems, [](const core::Problem& p) { return p.repaired; });
        list.Refresh(problems);
        forms::RunPendingEvents();
    });
    print("repair-files-" + std::to_string(plan.repairFiles), ms, floorMs);
    const bool listEmpty = host.lstMain.Count() == 0;
    repair::RemoveRun(backup.Stamp());
    host.Unload();
    RemoveFolder(plan.RepairRoot());
    if (floorLeft == 0 && problems.empty() && listEmpty) return true;
    std::fprintf(stderr, "warning: repair-files: %d files stayed in the floor, %zu in the run\n",
                 floorLeft, problems.size());
    return false;
}

}  // namespace bench
