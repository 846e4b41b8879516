#include <functional>
#include <vector>

#include "scan/scanners.h"

namespace scan {
namespace {

struct Phase {
    int stepsBefore;
    std::function<void(Scope&)> scan;
};

// The scan's phases in order; their steps and the end's add up to kScanSteps.
std::vector<Phase> Phases() {
    std::vector<Phase> phases = {
        {0, [](Scope& scope) { ScanShortcuts(scope.folders.desktop, scope); }},
        {0, [](Scope& scope) { ScanShortcuts(scope.folders.commonDesktop, scope); }},
        {2, [](Scope& scope) { ScanShortcuts(scope.folders.programs, scope); }},
        {0, [](Scope& scope) { ScanShortcuts(scope.folders.commonPrograms, scope); }},
    };
    // The uninstall entries come after two steps, every other list after one; a list's copy
    // for 32-bit programs shares the step of the list.
    int steps = 2;
    for (const RegistryList& list : RegistryLists()) {
        const bool copy = list.view == core::RegistryView::Of32BitPrograms;
        phases.push_back(
            {copy ? 0 : steps, [&list](Scope& scope) { ScanRegistryList(list, scope); }});
        if (!copy) steps = 1;
    }
    phases.push_back({1, [](Scope& scope) { ScanTempFiles(scope.folders.temp, scope); }});
    phases.push_back({1, [](Scope& scope) { ScanTempFiles(scope.folders.cache, scope); }});
    phases.push_back({1, [](Scope&) {}});  // the end: a full scan ends with a full bar
    return phases;
}

}  // namespace

void RunScan(Scope& scope, const std::function<void()>& step) {
    for (const Phase& phase : Phases()) {
        if (!scope.progress.Continue()) break;
        for (int n = 0; n < phase.stepsBefore; ++n)
            step();
        phase.scan(scope);
    }
}

}  // namespace scan
