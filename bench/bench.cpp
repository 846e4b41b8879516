// The scan benchmark: plants a machine (old temporary files, shortcuts, registry entries),
// runs each scanner as a scan runs it, beside its floor in the same run, and prints
//   name <TAB> milliseconds <TAB> floor milliseconds <TAB> ratio
// With --parts it also times the per-item pieces of a scan (translation, progress line,
// events, value reads, existence tests), each against the floor of as many items.
//
// Then the windows: the problem list shown and all selected (list-refresh-N) and its selection
// inverted (select-invert-N), beside inserting the rows into a bare list view (under Wine
// only); the aggressive repair of old temporary files (repair-files-N) beside deleting them;
// a whole scan in the scan window (scan-ui) beside its phases alone; and a conservative repair
// of a hundred registry problems in the repair window (repair-conservative-100) beside one walk
// of the trees its search lists.
//
// --plant-machine only plants the machine and leaves it planted, for scripts/bench.sh to run
// the real program over it (memory-large); it prints the number of problems a scan of it
// finds. --remove-machine removes such a planting's registry entries.
//
// Usage: scan_bench [--quick] [--parts] [--reps N]
//                   [--only temp|shortcuts|registry|list-refresh|select-invert|repair-files|
//                           scan-ui|repair]
//                   [--work FOLDER] [--temp-layout D,F,N] [--plant-machine|--remove-machine]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/scan_window.h"
#include "bench/floors.h"
#include "bench/generate.h"
#include "bench/machine.h"
#include "bench/repair_line.h"
#include "bench/scan_context.h"
#include "bench/timing.h"
#include "bench/ui_lines.h"
#include "core/registry.h"
#include "core/shortcut.h"
#include "forms/interaction.h"
#include "platform/com.h"
#include "platform/filesystem.h"
#include "platform/shelllink.h"
#include "scan/scanners.h"

namespace {

using bench::Millis;
using bench::Plan;
using bench::RegistryList;

// What a run does: measure (planting and removing the machine), or only one of those two.
enum class Task { Measure, PlantMachine, RemoveMachine };

struct Options {
    Plan plan;
    Task task = Task::Measure;
    bool parts = false;
    int reps = 3;
    int listRecords = 50000;  // problems in the list the main window shows
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
            options.plan.repairFiles /= 10;
            options.listRecords /= 10;
        } else if (arg == "--parts") {
            options.parts = true;
        } else if (arg == "--plant-machine") {
            options.task = Task::PlantMachine;
        } else if (arg == "--remove-machine") {
            options.task = Task::RemoveMachine;
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

struct Scanner {
    std::string what;
    std::function<void(scan::Scope&)> scan;
    std::function<int()> floor;
    int expected = 0;
    int items = 0;  // items a scan looks at, for the per-item floor
};

// Floors first (the first listing warms the caches for both), then scanner and floor in
// turns; the best of each. A scanner that takes long runs once.
double Measure(bench::ScanContext& context, const Scanner& scanner, int reps) {
    const std::string name = LineName(scanner.what);
    scanner.floor();
    double best = 0, bestFloor = 0;
    for (int rep = 0; rep < reps; ++rep) {
        int floorFound = 0, found = 0;
        const double floorMs = Millis([&] { floorFound = scanner.floor(); });
        const double ms = Millis([&] { found = context.Run(scanner.scan); });
        CheckCount(name, "the floor", floorFound, scanner.expected);
        CheckCount(name, "the scanner", found, scanner.expected);
        best = rep == 0 ? ms : std::min(best, ms);
        bestFloor = rep == 0 ? floorMs : std::min(bestFloor, floorMs);
        if (ms > 20000) break;
    }
    PrintLine(name, best, bestFloor);
    return bestFloor / std::max(1, scanner.items);
}

int RegistryFloor() {
    int missing = 0;
    for (const auto& list : scan::RegistryLists())
        missing += bench::FloorRegistryList(list);
    return missing;
}

int PlantedMissingEntries(const Plan& plan) {
    int missing = 0;
    for (const auto& list : scan::RegistryLists())
        missing += bench::BrokenAmong(plan.EntriesOf(list));
    return missing;
}

std::vector<Scanner> Scanners(const Plan& plan, int registryBaseline) {
    return {
        {"scan-temp", [&plan](scan::Scope& scope) { scan::ScanTempFiles(plan.TempRoot(), scope); },
         [&plan] { return bench::FloorTempFiles(plan.TempRoot()); }, plan.OldTempFiles(),
         plan.TempFiles()},
        {"scan-shortcuts",
         [&plan](scan::Scope& scope) {
             scan::ScanShortcuts(plan.DesktopFolder(), scope);
             scan::ScanShortcuts(plan.ProgramsFolder(), scope);
         },
         [&plan] {
             return bench::FloorShortcuts(plan.DesktopFolder()) +
                    bench::FloorShortcuts(plan.ProgramsFolder());
         },
         bench::BrokenAmong(plan.shortcuts), plan.shortcuts},
        {"scan-registry", bench::ScanRegistryLists, RegistryFloor,
         registryBaseline + PlantedMissingEntries(plan), plan.registryEntries},
    };
}

// --- The pieces of a scan's per-item work ------------------------------------------------

// The scan window shown while the pieces of its work are timed one by one: its own scan is
// held back (it stops before its first scanner) and the window stays open until released.
class HeldScanWindow : public app::ScanWindow {
  public:
    using app::ScanWindow::ScanWindow;

    bool Continue() override { return false; }
    void Release() {
        released_ = true;
        Unload();
    }

  protected:
    bool CanClose() override { return released_; }

  private:
    bool released_ = false;
};

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
    app::Session session;
    session.folders = bench::FoldersOf(plan);
    const core::Language& language = session.language;
    core::Problems problems;
    HeldScanWindow window(session, problems);
    window.Show(forms::ShowMode::Modeless);

    const auto leaves = plan.TempLeafFolders();
    auto tempFile = [&](int i) {
        return plan.TempRoot() + "\\" + leaves[i % leaves.size()] + "\\" +
               Plan::TempFileName(i / static_cast<int>(leaves.size()) % plan.tempFilesPerLeaf);
    };
    const std::string scanning = language.Text("progress_scanning_file", "Scanning file") + " ";
    auto target = [&](int i) {
        return plan.Target(plan.shortcuts + i % plan.registryEntries, bench::IsBroken(i));
    };
    auto link = [&](int i) { return plan.ShortcutPath(i % plan.shortcuts); };
    const RegistryList& fonts = bench::ListEndingWith("Fonts");
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
    auto readShortcut = [&](int i) { core::ReadShortcut(link(i)); };
    auto exists = [&](int i) { bench::Exists(target(i)); };

    const std::vector<Part> parts = {
        {"translate", [&](int) { language.Text("progress_scanning_file", "Scanning file"); },
         tempFloor},
        {"label", [&](int i) { window.ItemLabel().SetCaption(scanning + tempFile(i)); }, tempFloor},
        {"doevents", [](int) { forms::RunPendingEvents(); }, tempFloor},
        {"problems-label",
         [&](int i) {
             window.CountLabel().SetVisible(true);
             window.CountLabel().SetCaption("Problems: " + std::to_string(i));
         },
         tempFloor},
        {"showprogress-noproblems", [&](int i) { window.Looking(scanning + tempFile(i)); },
         tempFloor},
        {"filetime-to-local",
         [](int i) {
             platform::SystemTime local;
             platform::FileTimeToLocalSystemTime(133000000000000000ULL + i * 10000000ULL, local);
         },
         tempFloor},
        {"readregistryvalue",
         [&](int i) { core::ReadRegistryText(fonts.root, fonts.key, fontValue(i)); },
         registryFloor},
        {"fileexists", [&](int i) { core::FileExists(target(i)); }, PerItem(exists, count)},
        {"getshortcutinfo", readShortcut, PerItem(loadLink, std::min(count, plan.shortcuts))},
    };
    for (const auto& part : parts)
        MeasurePart(part, part.what == "getshortcutinfo" ? std::min(count, plan.shortcuts) : count);
    problems.emplace_back();
    MeasurePart({"showprogress-problems", [&](int i) { window.Looking(scanning + tempFile(i)); },
                 tempFloor},
                count);
    // What the window would cost if it showed the newest item and count at most every 50 ms,
    // with the problems text translated once: the same lines, a Cancel as quick to answer.
    const std::string problemsText = language.Text("frmprogress_problems", "Problems:") + " ";
    auto shown = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    MeasurePart({"showprogress-every-50ms",
                 [&](int i) {
                     const std::string text = scanning + tempFile(i);
                     const auto now = std::chrono::steady_clock::now();
                     if (now - shown < std::chrono::milliseconds(50)) return;
                     shown = now;
                     window.ItemLabel().SetCaption(text);
                     window.CountLabel().SetVisible(true);
                     window.CountLabel().SetCaption(problemsText + std::to_string(problems.size()));
                     forms::RunPendingEvents();
                 },
                 tempFloor},
                count);
    window.Release();
}

// Removes what an earlier run may have left in the registry, then counts the broken entries
// the lists hold of their own: a scan finds them beside the planted ones.
int RegistryBaseline(bench::ScanContext& context) {
    bench::RemoveRegistryPlantings();
    const int baseline = context.Run(bench::ScanRegistryLists);
    if (baseline != 0)
        std::fprintf(stderr, "the registry holds %d broken entries before planting\n", baseline);
    return baseline;
}

// Plants the shortcuts and registry entries beside the files (see MakeFiles) and tells on
// stderr what the machine holds. False, with a message, when its files are missing.
bool PlantMachine(const Plan& plan) {
    bool planted = false;
    const double filesMs = Millis([&] { planted = bench::MakeFiles(plan); });
    if (!planted) return false;
    const double shortcutMs = Millis([&] { bench::PlantShortcuts(plan); });
    const double registryMs = Millis([&] { bench::PlantRegistry(plan); });
    std::fprintf(stderr,
                 "machine (%s, planted in %.1f + %.1f + %.1f s): %d temporary files (%d old), "
                 "%d shortcuts (%d broken), %d registry entries (%d missing)\n",
                 bench::kPlatformName, filesMs / 1000, shortcutMs / 1000, registryMs / 1000,
                 plan.TempFiles(), plan.OldTempFiles(), plan.shortcuts,
                 bench::BrokenAmong(plan.shortcuts), plan.registryEntries,
                 PlantedMissingEntries(plan));
    return true;
}

// The machine planted and left so: the real program, run from outside, scans it with the
// user's desktop and programs folders pointed at the plan's. Prints the problems it holds,
// the old temporary files, broken shortcuts and missing entries with the registry's own.
int PlantOnly(const Plan& plan) {
    bench::ScanContext context(plan);
    const int baseline = RegistryBaseline(context);
    if (!PlantMachine(plan)) return 2;
    std::printf("%d\n", baseline + plan.OldTempFiles() + bench::BrokenAmong(plan.shortcuts) +
                            PlantedMissingEntries(plan));
    return 0;
}

int Run(Options& options) {
    Plan& plan = options.plan;
    bench::PrepareMachine(plan);
    if (options.task == Task::PlantMachine) return PlantOnly(plan);
    if (options.task == Task::RemoveMachine) {
        bench::RemoveRegistryPlantings();
        return 0;
    }
    const core::Language language("eng");
    // The list needs no planted machine: it runs first, and alone when asked for alone.
    const bench::LinePrinter print = [](const std::string& what, double ms, double floorMs) {
        PrintLine(LineName(what), ms, floorMs);
    };
    // The list and the bulk repair need no planted machine: they run first, and alone when
    // asked for alone.
    const auto wanted = [&](const char* line) {
        return std::string(line).find(options.only) != std::string::npos;
    };
    if ((wanted("list-refresh") || wanted("select-invert")) &&
        !bench::MeasureListLines(options.listRecords, options.reps, language, print))
        countsDiffered = true;
    if (wanted("repair-files") && !bench::MeasureFileRepair(plan, language, print))
        countsDiffered = true;
    if (!options.only.empty() && !wanted("scan-temp") && !wanted("scan-shortcuts") &&
        !wanted("scan-registry") && !wanted("scan-ui") && !wanted("repair-conservative")) {
        bench::CleanUpFiles(plan);
        return countsDiffered ? 1 : 0;
    }
    bench::ScanContext context(plan);
    const int registryBaseline = RegistryBaseline(context);
    if (!PlantMachine(plan)) return 2;

    std::vector<double> floorPerItem;
    for (const auto& scanner : Scanners(plan, registryBaseline))
        floorPerItem.push_back(scanner.what.find(options.only) == std::string::npos
                                   ? 0.0
                                   : Measure(context, scanner, options.reps));
    context.problems.clear();
    if (options.parts && options.only.empty())  // the parts stand against every floor
        MeasureParts(plan, floorPerItem[0], floorPerItem[2], std::min(plan.registryEntries, 5000));

    if (std::string("scan-ui").find(options.only) != std::string::npos &&
        bench::MeasureScanInWindow(plan, options.reps, print) < 0)
        countsDiffered = true;
    // Last: the repair changes the planted registry entries.
    if (std::string("repair-conservative").find(options.only) != std::string::npos &&
        !bench::MeasureConservativeRepair(plan, print))
        countsDiffered = true;
    bench::RemoveRegistryPlantings();
    bench::CleanUpFiles(plan);
    return countsDiffered ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Options options = ParseOptions(argc, argv);
        // The shell's shortcut objects live in the apartment the program enters as it starts.
        const platform::ComApartment apartment;
        return Run(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "scan_bench: %s\n", e.what());
        return 2;
    }
}
