// Shows frmProgress over a slow scan of made-up items, to be looked at (and photographed)
// on a real display. Its scanners replace the library's at link time.
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "core/app_state.h"
#include "model/item.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"

namespace {

void SlowItems(const std::string& where, int count) {
    for (int i = 1; i <= count && bScanRunning; ++i) {
        ShowProgress(where + "\\item " + std::to_string(i) + ".lnk");
        if (i % 3 == 0) AddItem(std::make_shared<clsItem>());
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
}

}  // namespace

void ScanShortcuts(const std::string& folder) {
    SlowItems(folder, 10);
}
void ScanTempFiles(std::string& folder) {
    SlowItems(folder, 5);
}
void ScanRegistrySubkeys(platform::RootKey, const std::string& key, bool, const std::string&,
                         long) {
    SlowItems("HKLM\\" + key, 5);
}
void ScanRegistryValues(platform::RootKey, const std::string& key, bool) {
    SlowItems("HKLM\\" + key, 3);
}
void ScanHelpFiles(platform::RootKey, const std::string& key) {
    SlowItems("HKLM\\" + key, 3);
}

int main() {
    sDesktopFolder = "C:\\users\\Public\\Desktop";
    sProgramsFolder = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    sTempFolder = "C:\\windows\\temp\\";
    frmProgress = std::make_unique<ProgressForm>();
    frmProgress->Show(forms::ShowMode::Modal);
    return bScanCancelled ? 1 : 0;
}
