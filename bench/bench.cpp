// The scan benchmark: plants a machine (old temporary files, shortcuts, registry entries),
// runs each scanner as a scan runs it, beside its floor in the same run, and prints
//   name <TAB> milliseconds <TAB> floor milliseconds <TAB> ratio
// With --parts it also times the per-item pieces of a scan (translation, progress line,
// events, value reads, existence tests), each against the floor of as many items.
//
// Then the windows: the problem list refilled (list-refresh-N) and a whole scan in the
// progress window (scan-ui), each beside its floor; and a conservative repair of a hundred
// registry problems in the repair window (repair-conservative-100) beside one walk of the
// trees its search lists.
//
// Usage: scan_bench [--quick] [--parts] [--reps N]
//                   [--only temp|shortcuts|registry|list-refresh|scan-ui|repair]
//                   [--work FOLDER] [--temp-layout D,F,N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/floors.h"
#include "bench/generate.h"
#include "bench/machine.h"
#include "bench/repair_line.h"
#include "bench/timing.h"
#include "bench/ui_lines.h"
#include "core/registry_access.h"
#include "core/translate.h"
#include "model/item.h"
#include "platform/filesystem.h"
#include "platform/shelllink.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "scan/shortcut.h"
#include "ui/interaction.h"

namespace {

using bench::Millis;
using bench::Plan;
using bench::RegistryList;

struct Options {
    Plan plan;
    bool parts = false;
    int reps = 3;
    int listRecords = 50000;  // problems in the list that RefreshList fills
    std::string only;         // a part of the scanners' names: run only those
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--quick") {
            options.plan.tempDepth = 2;
            options.plan.shortcuts /= 10;
            options.plan.registryEntries /= 10;
            options.listRecords /= 10;
        } else if (arg == "--parts") {
            options.parts = true;
        } else if (arg == "--reps" && hasValue) {
            options.reps = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--only" && hasValue) {
            options.only = argv[++i];
        } else if (arg == "--work" && hasValue) {
            options.plan.work = argv[++i];
        } else if (arg == "--temp-layout" && hasValue) {
            if (std::sscanf(argv[++i], "%d,%d,%d", &options.plan.tempDepth,
                            &options.plan.tempFanout, &options.plan.tempFilesPerLeaf) != 3)
                throw std::invalid_argument("--temp-layout wants DEPTH,FANOUT,FILES");
        } else {
            throw std::invalid_argument("unknown argument " + arg);
        }
    }
    return options;
}

std::string LineName(const std::string& what) {
    return what + "-" + bench::kPlatformName;
}

void PrintLine(const std::string& name, double ms, double floorMs) {
    std::printf("%s\t%.0f\t%.0f\t%.2f\n", name.c_str(), ms, floorMs,
                floorMs > 0 ? ms / floorMs : 0.0);
    std::fflush(stdout);
}

bool countsDiffered = false;

void CheckCount(const std::string& name, const char* who, int found, int expected) {
    if (found == expected) return;
    std::fprintf(stderr, "warning: %s: %s found %d, the machine holds %d\n", name.c_str(), who,
                 found, expected);
    countsDiffered = true;
}

// A scan's surroundings: the progress window loaded and showing, its timer stopped (the
// bench runs the scanners itself), the flag set and the problem collection empty.
void OpenProgressWindow() {
    frmProgress = std::make_unique<ProgressForm>();
    frmProgress->Show(ui::ShowMode::Modeless);
    frmProgress->Timer1.SetEnabled(false);
}

int RunScan(const std::function<void()>& scan) {
    colProblems = ProblemCollection();
    bScanRunning = true;
    scan();
    return colProblems.Count();
}

struct Scanner {
    std::string what;
    std::function<void()> scan;
    std::function<int()> floor;
    int expected = 0;
    int items = 0;  // items a scan looks at, for the per-item floor
};

// Floors first (the first listing warms the caches for both), then scanner and floor in
// turns; the best of each. A scanner that takes long runs once.
double Measure(const Scanner& scanner, int reps) {
    const std::string name = LineName(scanner.what);
    scanner.floor();
    double best = 0, bestFloor = 0;
    for (int rep = 0; rep < reps; ++rep) {
        int floorFound = 0, found = 0;
        const double floorMs = Millis([&] { floorFound = scanner.floor(); });
        const double ms = Millis([&] { found = RunScan(scanner.scan); });
        CheckCount(name, "the floor", floorFound, scanner.expected);
        CheckCount(name, "the scanner", found, scanner.expected);
        best = rep == 0 ? ms : std::min(best, ms);
        bestFloor = rep == 0 ? floorMs : std::min(bestFloor, floorMs);
        if (ms > 20000) break;
    }
    PrintLine(name, best, bestFloor);
    return bestFloor / std::max(1, scanner.items);
}

void RunRegistryScanners() {
    using Kind = RegistryList::Kind;
    for (const auto& list : bench::RegistryLists()) {
        switch (list.kind) {
            case Kind::Subkeys:
                ScanRegistrySubkeys(list.root, list.key, true, list.valueName, list.status);
                break;
            case Kind::ValuesInData:
                ScanRegistryValues(list.root, list.key, true);
                break;
            case Kind::ValuesInName:
                ScanRegistryValues(list.root, list.key, false);
                break;
            case Kind::Help:
                ScanHelpFiles(list.root, list.key);
                break;
        }
    }
}

int RegistryFloor() {
    int missing = 0;
    for (const auto& list : bench::RegistryLists())
        missing += bench::FloorRegistryList(list);
    return missing;
}

int PlantedMissingEntries(const Plan& plan) {
    int missing = 0;
    for (const auto& list : bench::RegistryLists())
        missing += bench::BrokenAmong(plan.EntriesOf(list));
    return missing;
}

std::vector<Scanner> Scanners(const Plan& plan, int registryBaseline) {
    return {
        {"scan-temp",
         [&plan] {
             std::string folder = plan.TempRoot();
             ScanTempFiles(folder);
         },
         [&plan] { return bench::FloorTempFiles(plan.TempRoot()); }, plan.OldTempFiles(),
         plan.TempFiles()},
        {"scan-shortcuts",
         [&plan] {
             ScanShortcuts(plan.DesktopFolder());
             ScanShortcuts(plan.ProgramsFolder());
         },
         [&plan] {
             return bench::FloorShortcuts(plan.DesktopFolder()) +
                    bench::FloorShortcuts(plan.ProgramsFolder());
         },
         bench::BrokenAmong(plan.shortcuts), plan.shortcuts},
        {"scan-registry", RunRegistryScanners, RegistryFloor,
         registryBaseline + PlantedMissingEntries(plan), plan.registryEntries},
    };
}

// --- The pieces of a scan's per-item work ------------------------------------------------

struct Part {
    std::string what;
    std::function<void(int)> run;  // the piece for item i
    double floorPerItem;           // ms: the scanner's floor, or the piece's own
};

void MeasurePart(const Part& part, int count) {
    const double ms = Millis([&] {
        for (int i = 0; i < count; ++i)
            part.run(i);
    });
    PrintLine(LineName("part-" + part.what + "-" + std::to_string(count) + "x"), ms,
              part.floorPerItem * count);
}

double PerItem(const std::function<void(int)>& run, int count) {
    return Millis([&] {
               for (int i = 0; i < count; ++i)
                   run(i);
           }) /
           count;
}

void MeasureParts(const Plan& plan, double tempFloor, double registryFloor, int count) {
    const auto leaves = plan.TempLeafFolders();
    auto tempFile = [&](int i) {
        return plan.TempRoot() + "\\" + leaves[i % leaves.size()] + "\\" +
               Plan::TempFileName(i / static_cast<int>(leaves.size()) % plan.tempFilesPerLeaf);
    };
    const std::string scanning = Translate("progress_scanning_file", "Scanning file") + " ";
    auto target = [&](int i) {
        return plan.Target(plan.shortcuts + i % plan.registryEntries, bench::IsBroken(i));
    };
    auto link = [&](int i) { return plan.ShortcutPath(i % plan.shortcuts); };
    const RegistryList& fonts = bench::RegistryLists()[3];
    auto fontValue = [&](int i) {
        return Plan::EntryName(plan.FirstTargetOf(fonts) + i % plan.EntriesOf(fonts));
    };
    platform::ShellLink* shellLink = nullptr;
    platform::ShellLink::Instance(shellLink);
    auto loadLink = [&](int i) {
        std::string path;
        shellLink->Load(link(i), platform::kStgmRead);
        shellLink->GetPath(path, platform::kSlgpUncPriority);
    };
    auto getShortcutInfo = [&](int i) {
        std::string path, description, arguments, icon, folder;
        std::uint16_t hotkey = 0;
        long iconIndex = 0, show = 0;
        GetShortcutInfo(link(i), path, description, arguments, hotkey, icon, iconIndex, folder,
                        show);
    };
    auto exists = [&](int i) { bench::Exists(target(i)); };
    auto withProblems = [](bool any) {
        colProblems = ProblemCollection();
        if (any) AddItem(std::make_shared<clsItem>());
    };

    withProblems(false);
    const std::vector<Part> parts = {
        {"translate", [](int) { Translate("progress_scanning_file", "Scanning file"); }, tempFloor},
        {"label", [&](int i) { frmProgress->lbl1.SetCaption(scanning + tempFile(i)); }, tempFloor},
        {"doevents", [](int) { ui::DoEvents(); }, tempFloor},
        {"problems-label",
         [](int i) {
             frmProgress->lblProblems.SetVisible(true);
             frmProgress->lblProblems.SetCaption("Problems: " + std::to_string(i));
         },
         tempFloor},
        {"showprogress-noproblems", [&](int i) { ShowProgress(scanning + tempFile(i)); },
         tempFloor},
        {"filetime-to-local",
         [](int i) {
             platform::SystemTime local;
             platform::FileTimeToLocalSystemTime(133000000000000000ULL + i * 10000000ULL, local);
         },
         tempFloor},
        {"readregistryvalue",
         [&](int i) { ReadRegistryValue(fonts.root, fonts.key, fontValue(i)); }, registryFloor},
        {"fileexists", [&](int i) { FileExists(target(i)); }, PerItem(exists, count)},
        {"getshortcutinfo", getShortcutInfo, PerItem(loadLink, std::min(count, plan.shortcuts))},
    };
    for (const auto& part : parts)
        MeasurePart(part, part.what == "getshortcutinfo" ? std::min(count, plan.shortcuts) : count);
    withProblems(true);
    MeasurePart(
        {"showprogress-problems", [&](int i) { ShowProgress(scanning + tempFile(i)); }, tempFloor},
        count);
    // What the window would cost if it showed the newest item and count at most every 50 ms,
    // with the problems text translated once: the same lines, a Cancel as quick to answer.
    const std::string problems = Translate("frmprogress_problems", "Problems:") + " ";
    auto shown = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    MeasurePart(
        {"showprogress-every-50ms",
         [&](int i) {
             const std::string text = scanning + tempFile(i);
             const auto now = std::chrono::steady_clock::now();
             if (now - shown < std::chrono::milliseconds(50)) return;
             shown = now;
             frmProgress->lbl1.SetCaption(text);
             frmProgress->lblProblems.SetVisible(true);
             frmProgress->lblProblems.SetCaption(problems + std::to_string(colProblems.Count()));
             ui::DoEvents();
         },
         tempFloor},
        count);
    colProblems = ProblemCollection();
}

int Run(Options& options) {
    Plan& plan = options.plan;
    bench::PrepareMachine(plan);
    // The list needs no planted machine: it runs first, and alone when asked for alone.
    const bench::LinePrinter print = [](const std::string& what, double ms, double floorMs) {
        PrintLine(LineName(what), ms, floorMs);
    };
    if (std::string("list-refresh").find(options.only) != std::string::npos &&
        !bench::MeasureListRefresh(options.listRecords, options.reps, print))
        countsDiffered = true;
    if (options.only == "list-refresh") {
        bench::CleanUpFiles(plan);
        return countsDiffered ? 1 : 0;
    }
    OpenProgressWindow();
    bench::RemoveRegistryPlantings();
    const int registryBaseline = RunScan(RunRegistryScanners);
    if (registryBaseline != 0)
        std::fprintf(stderr, "the registry holds %d broken entries before planting\n",
                     registryBaseline);

    bool planted = false;
    const double filesMs = Millis([&] { planted = bench::MakeFiles(plan); });
    if (!planted) return 2;
    const double shortcutMs = Millis([&] { bench::PlantShortcuts(plan); });
    const double registryMs = Millis([&] { bench::PlantRegistry(plan); });
    std::fprintf(stderr,
                 "machine (%s, planted in %.1f + %.1f + %.1f s): %d temporary files (%d old), "
                 "%d shortcuts (%d broken), %d registry entries (%d missing)\n",
                 bench::kPlatformName, filesMs / 1000, shortcutMs / 1000, registryMs / 1000,
                 plan.TempFiles(), plan.OldTempFiles(), plan.shortcuts,
                 bench::BrokenAmong(plan.shortcuts), plan.registryEntries,
                 PlantedMissingEntries(plan));

    std::vector<double> floorPerItem;
    for (const auto& scanner : Scanners(plan, registryBaseline))
        floorPerItem.push_back(scanner.what.find(options.only) == std::string::npos
                                   ? 0.0
                                   : Measure(scanner, options.reps));
    if (options.parts && options.only.empty())  // the parts stand against every floor
        MeasureParts(plan, floorPerItem[0], floorPerItem[2], std::min(plan.registryEntries, 5000));

    frmProgress->Unload();
    frmProgress.reset();
    if (std::string("scan-ui").find(options.only) != std::string::npos &&
        bench::MeasureScanInWindow(plan, RunRegistryScanners, options.reps, print) < 0)
        countsDiffered = true;
    // Last: the repair changes the planted registry entries.
    if (std::string("repair-conservative").find(options.only) != std::string::npos &&
        !bench::MeasureConservativeRepair(plan, RunRegistryScanners, print))
        countsDiffered = true;
    bench::RemoveRegistryPlantings();
    bench::CleanUpFiles(plan);
    return countsDiffered ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Options options = ParseOptions(argc, argv);
        return Run(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "scan_bench: %s\n", e.what());
        return 2;
    }
}
