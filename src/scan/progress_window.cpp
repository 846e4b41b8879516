#include "scan/progress_window.h"

#include <functional>
#include <type_traits>

#include "core/app_state.h"
#include "core/translate.h"
#include "model/item.h"
#include "scan/scanners.h"
#include "ui/interaction.h"

bool bScanRunning = false;
bool bScanCancelled = false;
std::unique_ptr<ProgressForm> frmProgress;

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

struct Phase {
    int stepsBefore;
    std::function<void()> scan;
};

// Folder scanners get no empty root: it would stand for the root of the current drive.
// The temporary-file scanner takes its folder by reference and may change it.
template <typename Folder>
std::function<void()> InFolder(void (*scanner)(Folder&), std::type_identity_t<Folder>& folder) {
    return [scanner, &folder] {
        if (!folder.empty()) scanner(folder);
    };
}

// The scan's phases in order; the steps add up to the bar's 14.
const std::vector<Phase>& Phases() {
    static const std::vector<Phase> phases = {
        {0, InFolder(ScanShortcuts, sDesktopFolder)},
        {2, InFolder(ScanShortcuts, sProgramsFolder)},
        {2,
         [] {
             ScanRegistrySubkeys(kHkeyLocalMachine,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true,
                                 "UninstallString", kStatusWrongUninstall);
         }},
        {1,
         [] {
             ScanRegistryValues(kHkeyLocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", true);
         }},
        {1,
         [] {
             ScanRegistryValues(kHkeyCurrentUser,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", true);
         }},
        {1,
         [] {
             ScanRegistryValues(kHkeyLocalMachine,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts", true);
         }},
        {1,
         [] {
             ScanRegistryValues(kHkeyLocalMachine,
                                "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", true);
         }},
        {1,
         [] {
             ScanRegistryValues(kHkeyLocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", false);
         }},
        {1,
         [] {
             ScanRegistrySubkeys(kHkeyLocalMachine,
                                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", true,
                                 "", kStatusBrokenLink);
         }},
        {1, [] { ScanHelpFiles(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\Help"); }},
        {1, InFolder(ScanTempFiles, sTempFolder)},
        {1, InFolder(ScanTempFiles, sCacheFolder)},
        {1, [] {}},  // the end: a full scan ends with a full bar
    };
    return phases;
}

}  // namespace

ProgressForm::ProgressForm() : ui::Form("frmProgress") {
    SetBorder(platform::BorderStyle::FixedDialog);
    SetStartPosition(ui::StartPosition::CenterOwner);
}

void ProgressForm::Design() {
    SetClientSize(7920, 1950);
    Add(lbl1, "lbl1", {120, 120, 7695, 495});
    Add(ProgressBar1, "ProgressBar1", {120, 720, 7695, 495});
    Add(lblProblems, "lblProblems", {120, 1320, 4335, 375});
    lblProblems.SetCaption("Problems:");
    Add(btnCancel, "btnCancel", {5400, 1320, 2415, 495});
    btnCancel.Click = [this] { btnCancel_Click(); };
    SetDialogButtons(nullptr, &btnCancel);
    Add(Timer1, 300, true);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void ProgressForm::Form_Load() {
    SetCaption(Translate("frmprogress_caption", "Progress"));
    btnCancel.SetCaption(Translate("frmprogress_cancel", "Cancel"));
    lblProblems.SetVisible(false);
    bScanRunning = true;
    bScanCancelled = false;
    ProgressBar1.SetRange(0, kSteps);
}

// Stops the scan at the running scanner's next check; the phase runner closes the window.
void ProgressForm::btnCancel_Click() {
    bScanCancelled = true;
    bScanRunning = false;
}

// The close box stops the scan as Cancel does, but it does not count as cancelled.
void ProgressForm::Form_Unload(int&) {
    bScanRunning = false;
}

// The whole scan runs inside this one tick.
void ProgressForm::Timer1_Timer() {
    Timer1.SetEnabled(false);
    for (const Phase& phase : Phases()) {
        if (!bScanRunning) break;
        for (int step = 0; step < phase.stepsBefore; ++step)
            ProgressStep();
        phase.scan();
    }
    Unload();
    bScanRunning = false;
}

// The label changes only with the count: most items add no problem.
void ProgressForm::ShowProblems(int count) {
    if (count < 1 || count == problemsShown_) return;
    problemsShown_ = count;
    lblProblems.SetVisible(true);
    lblProblems.SetCaption(Translate("frmprogress_problems", "Problems:") + " " +
                           std::to_string(count));
}

void ProgressStep() {
    if (!frmProgress || !frmProgress->IsLoaded()) return;
    frmProgress->ProgressBar1.SetValue(frmProgress->ProgressBar1.Value() + 1);
    ui::DoEvents();
}

void ShowProgress(const std::string& text) {
    if (!ui::ProgressRefreshDue()) return;
    if (frmProgress && frmProgress->IsLoaded()) {
        frmProgress->lbl1.SetCaption(text);
        frmProgress->ShowProblems(colProblems.Count());
    }
    ui::DoEvents();
}

void LetPendingEventsRun() {
    if (ui::ProgressRefreshDue()) ui::DoEvents();
}
