// Shows the scan window over a slow scan of made-up items, to be looked at (and photographed)
// on a real display. Its scanners replace the library's at link time.
#include <chrono>
#include <string>
#include <thread>

#include "app/scan_window.h"
#include "app/session.h"
#include "scan/scanners.h"

namespace {

void SlowItems(const std::string& where, int count, scan::Scope& scope) {
    for (int i = 1; i <= count && scope.progress.Continue(); ++i) {
        scope.progress.Looking(where + "\\item " + std::to_string(i) + ".lnk");
        if (i % 3 == 0) scope.problems.emplace_back();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
}

}  // namespace

namespace scan {

void ScanShortcuts(const std::string& folder, Scope& scope) {
    SlowItems(folder, 10, scope);
}
void ScanTempFiles(std::string folder, Scope& scope) {
    if (!folder.empty()) SlowItems(folder, 5, scope);
}
void ScanRegistryList(const RegistryList& list, Scope& scope) {
    SlowItems(std::string("HKLM\\") + list.key, list.pathIn == PathIn::SubkeyValue ? 5 : 3, scope);
}

}  // namespace scan

int main() {
    app::Session session;
    session.folders.desktop = "C:\\users\\Public\\Desktop";
    session.folders.programs = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    session.folders.temp = "C:\\windows\\temp\\";
    core::Problems problems;
    app::ScanWindow window(session, problems);
    window.Show(forms::ShowMode::Modal);
    return window.Cancelled() ? 1 : 0;
}
