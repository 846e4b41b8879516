// What the benchmark's scans work with: the plan's folders, the English texts, the problems
// found and a watcher that shows nothing.
#pragma once

#include "bench/plan.h"
#include "core/folders.h"
#include "core/language.h"
#include "core/problem.h"
#include "core/progress.h"
#include "scan/scanners.h"

namespace bench {

// The watcher of a scan without a window: it never stops the work, and lets pending events
// run at the pace a screen can take, as a scan does where it would show its progress.
class PlainProgress final : public core::Progress {
  public:
    bool Continue() override { return true; }
    void Looking(const std::string&) override { KeepResponsive(); }
    void KeepResponsive() override;
};

// The folders a scan of the plan looks in: its desktop, programs and temporary tree, no
// cache; the Windows and program-files folders as this machine has them.
core::Folders FoldersOf(const Plan& plan);

struct ScanContext {
    explicit ScanContext(const Plan& plan) : folders(FoldersOf(plan)) {}

    scan::Scope Scope() { return {folders, language, problems, progress}; }
    // Empties the problems, runs `scan` over the scope and returns how many it found.
    template <typename Scan>
    int Run(Scan&& scan) {
        problems.clear();
        scan::Scope scope = Scope();
        scan(scope);
        return static_cast<int>(problems.size());
    }

    core::Folders folders;
    core::Language language{"eng"};
    core::Problems problems;
    PlainProgress progress;
};

// Every registry list of the scan, in its order.
void ScanRegistryLists(scan::Scope& scope);

}  // namespace bench
