#include "bench/repair_line.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/floors.h"
#include "bench/machine.h"
#include "bench/timing.h"
#include "core/app_state.h"
#include "core/folders.h"
#include "model/item.h"
#include "repair/missing_file.h"
#include "repair/repair_options.h"
#include "repair/repair_progress.h"
#include "scan/progress_window.h"

namespace bench {

namespace {

constexpr int kRecords = 100;

// The trees the search walks, as start-up finds them. The sandbox has neither: there the
// planted temporary tree stands for the Windows folder.
void FindSearchedFolders(const Plan& plan) {
    InitWindowsFolder();
    InitProgramFilesFolder();
    if (sWindowsFolder.empty()) sWindowsFolder = plan.TempRoot();
    if (sProgramFilesFolder.empty()) sProgramFilesFolder = plan.work + "\\Program Files";
}

// A hundred planted registry problems, spread evenly over everything the scanners found.
std::vector<std::shared_ptr<clsItem>> PlantedRegistryProblems(
    const std::function<void()>& registryScanners) {
    colProblems = ProblemCollection();
    bScanRunning = true;
    registryScanners();
    bScanRunning = false;
    std::vector<std::shared_ptr<clsItem>> planted;
    for (const auto& item : colProblems)
        if (item->pType() == kTypeRegistry &&
            item->pCureMissingfile.find(kMark) != std::string::npos)
            planted.push_back(item);
    std::vector<std::shared_ptr<clsItem>> picked;
    const size_t stride = std::max<size_t>(1, planted.size() / kRecords);
    for (size_t i = 0; i < planted.size() && picked.size() < kRecords; i += stride)
        picked.push_back(planted[i]);
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

std::string FileNameOf(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

int Repaired() {
    return static_cast<int>(
        std::count_if(colProblems.begin(), colProblems.end(),
                      [](const auto& item) { return item->pType() == kTypeRepaired; }));
}

}  // namespace

bool MeasureConservativeRepair(const Plan& plan, const std::function<void()>& registryScanners,
                               const LinePrinter& print) {
    const auto records = PlantedRegistryProblems(registryScanners);
    FindSearchedFolders(plan);
    const std::string moved = sProgramFilesFolder + "\\" + kMark;
    for (size_t i = 0; i < records.size(); i += 2)
        MakeFile(moved + "\\" + FileNameOf(records[i]->pCureMissingfile));
    PlantInstalledFiles(plan, moved + "\\Installed");

    // Floor: the walk, once to warm the caches as the run's own search would find them.
    FloorWalkTree(sWindowsFolder);
    FloorWalkTree(sProgramFilesFolder);
    const double floorMs = Millis([] {
        FloorWalkTree(sWindowsFolder);
        FloorWalkTree(sProgramFilesFolder);
    });

    // The search alone, without a window: the index built once, then a look-up per record.
    ResetMissingFileIndex();
    size_t found = 0;
    const double searchMs = Millis([&] {
        for (const auto& item : records)
            found += !FindMissingFile(*item).empty();
    });
    print("part-repair-search-" + std::to_string(records.size()), searchMs, floorMs);
    const bool foundMoved = found == (records.size() + 1) / 2;
    if (!foundMoved)
        std::fprintf(stderr, "warning: repair-conservative: %zu of %zu moved files found\n", found,
                     (records.size() + 1) / 2);

    colProblems = ProblemCollection();
    ListForm host("frmBenchRepair");
    host.Show();
    for (const auto& item : records) {
        colProblems.Add(item);
        const int row = colProblems.Count();
        host.lstMain.Add(item->UID(), item->pName());
        host.lstMain.SetTag(row, std::to_string(row));
        host.lstMain.SetSelected(row, true);
    }
    iRepairMethod = kRepairConservative;
    RepairProgressForm run(host.lstMain);
    // The window waits 300 ms before its timer starts the run, by design: the line times the
    // run, so the timer is set to start it at once.
    run.Load();
    run.Timer1.SetInterval(1);
    const double ms = Millis([&] { run.Show(ui::ShowMode::Modal, &host); });

    print("repair-conservative-" + std::to_string(records.size()), ms, floorMs);

    const int repaired = Repaired();
    host.Unload();
    RemoveFolder(moved);
    colProblems = ProblemCollection();
    // Every record is deleted or re-pointed, but for application paths that are not found:
    // their value has no name and is not deleted.
    if (foundMoved && static_cast<int>(records.size()) == kRecords && repaired >= kRecords / 2)
        return true;
    std::fprintf(stderr, "warning: repair-conservative: %zu records, %d repaired\n", records.size(),
                 repaired);
    return false;
}

}  // namespace bench
