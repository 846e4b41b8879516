#include "bench/scan_context.h"

#include "forms/interaction.h"
#include "scan/registry_lists.h"

namespace bench {

void PlainProgress::KeepResponsive() {
    if (forms::ProgressRefreshDue()) forms::RunPendingEvents();
}

core::Folders FoldersOf(const Plan& plan) {
    core::Folders folders = core::Folders::OfThisMachine();
    folders.desktop = plan.DesktopFolder();
    folders.programs = plan.ProgramsFolder();
    folders.temp = plan.TempRoot() + "\\";
    folders.cache.clear();
    return folders;
}

void ScanRegistryLists(scan::Scope& scope) {
    for (const scan::RegistryList& list : scan::RegistryLists())
        scan::ScanRegistryList(list, scope);
}

}  // namespace bench
