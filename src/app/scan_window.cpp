#include "app/scan_window.h"

#include "forms/interaction.h"
#include "scan/scanners.h"

namespace app {

ScanEnd RunScanWindow(forms::Form& owner, const Session& session, core::Problems& problems) {
    ScanWindow window(session, problems);
    window.Show(forms::ShowMode::Modal, &owner);
    return window.Cancelled() ? ScanEnd::Cancelled : ScanEnd::Finished;
}

ScanWindow::ScanWindow(const Session& session, core::Problems& problems)
    : forms::Dialog("ScanWindow"), session_(session), problems_(problems) {}

void ScanWindow::Design() {
    SetClientSize(7920, 1950);
    Add(item_, "item", {120, 120, 7695, 495});
    Add(bar_, "bar", {120, 720, 7695, 495});
    Add(count_, "count", {120, 1320, 4335, 375});
    Add(cancel_, "cancel", {5400, 1320, 2415, 495});
    cancel_.Click = [this] {
        // The running scanner stops at its next check; the scan then closes the window.
        cancelled_ = true;
        running_ = false;
    };
    SetDialogButtons(nullptr, &cancel_);
    // The scan starts once the window has shown, inside this one tick.
    Add(start_, 300, true);
    start_.Tick = [this] { Scan(); };
}

void ScanWindow::OnLoad() {
    const core::Language& language = session_.language;
    SetCaption(language.Text("frmprogress_caption", "Progress"));
    cancel_.SetCaption(language.Text("frmprogress_cancel", "Cancel"));
    count_.SetVisible(false);
    running_ = true;
    cancelled_ = false;
    bar_.SetRange(0, scan::kScanSteps);
}

void ScanWindow::OnUnload() {
    running_ = false;
}

void ScanWindow::Scan() {
    start_.SetEnabled(false);
    scan::Scope scope{session_.folders, session_.language, problems_, *this};
    scan::RunScan(scope, [this] { Step(); });
    session_.exclusions.RemoveFrom(problems_);
    Unload();
    running_ = false;
}

void ScanWindow::Step() {
    if (!IsLoaded()) return;
    bar_.SetValue(bar_.Value() + 1);
    forms::RunPendingEvents();
}

// The label changes only with the count: most items add no problem.
void ScanWindow::ShowCount() {
    const std::size_t count = problems_.size();
    if (count < 1 || count == countShown_) return;
    countShown_ = count;
    count_.SetVisible(true);
    count_.SetCaption(session_.language.Text("frmprogress_problems", "Problems:") + " " +
                      std::to_string(count));
}

void ScanWindow::Looking(const std::string& text) {
    if (!forms::ProgressRefreshDue()) return;
    if (IsLoaded()) {
        item_.SetCaption(text);
        ShowCount();
    }
    forms::RunPendingEvents();
}

void ScanWindow::KeepResponsive() {
    if (forms::ProgressRefreshDue()) forms::RunPendingEvents();
}

}  // namespace app
