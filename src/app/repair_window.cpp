#include "app/repair_window.h"

#include "forms/interaction.h"

namespace app {

void RunRepairWindow(forms::Form& owner, const Session& session, repair::Method method,
                     core::Problems& problems, const std::vector<std::size_t>& positions,
                     repair::RunBackup& backup) {
    RepairWindow window(session, method, problems, positions, backup);
    window.Show(forms::ShowMode::Modal, &owner);
}

RepairWindow::RepairWindow(const Session& session, repair::Method method, core::Problems& problems,
                           const std::vector<std::size_t>& positions, repair::RunBackup& backup)
    : forms::Dialog("RepairWindow"),
      session_(session),
      method_(method),
      problems_(problems),
      positions_(positions),
      backup_(backup),
      user_(session.language) {
    user_.SetOwner(this);
}

void RepairWindow::Design() {
    SetClientSize(7920, 2325);
    Add(item_, "item", {120, 120, 7695, 255});
    Add(status_, "status", {120, 360, 7695, 615});
    Add(bar_, "bar", {120, 1080, 7695, 495});
    Add(cancel_, "cancel", {2880, 1680, 2415, 495});
    // The run notices it before its next problem: the one in hand is finished first.
    cancel_.Click = [this] { running_ = false; };
    SetDialogButtons(nullptr, &cancel_);
    // The whole run happens inside this one tick, once the window shows.
    Add(start_, 300, true);
    start_.Tick = [this] { Run(); };
}

void RepairWindow::OnLoad() {
    SetCaption(session_.language.Text("frmrepairprogress_caption", "Progress"));
    cancel_.SetCaption(session_.language.Text("frmrepairprogress_cancel", "Cancel"));
    if (!positions_.empty()) bar_.SetRange(0, static_cast<int>(positions_.size()));
    running_ = true;
}

void RepairWindow::OnUnload() {
    running_ = false;
}

// A status text the line shows already is not set again: every problem's search ends by
// clearing the line, and a label repaints itself whenever its text is set.
void RepairWindow::Looking(const std::string& text) {
    const bool due = forms::ProgressRefreshDue();
    if (!due && !text.empty()) return;
    if (IsLoaded() && status_.Caption() != text) status_.SetCaption(text);
    if (due) forms::RunPendingEvents();
}

void RepairWindow::KeepResponsive() {
    if (forms::ProgressRefreshDue()) forms::RunPendingEvents();
}

// Problems stay in place until the window has gone, so the positions hold throughout.
void RepairWindow::Run() {
    start_.SetEnabled(false);
    repair::Repairer repairer(method_, session_.folders, session_.language, *this, user_);
    const std::string prefix = session_.language.Text("repairprogress_info", "Repairing") + " ";
    int step = bar_.Value();
    const int last = bar_.Max();
    for (const std::size_t position : positions_) {
        if (!running_) break;
        core::Problem& problem = problems_[position];
        // The line, the bar and the events (a Cancel click) have their turn at the pace a
        // screen takes, and always for a problem that follows a slow one: a quick repair,
        // such as deleting a file, costs little more than itself.
        if (last > step) ++step;
        const bool due = forms::ProgressRefreshDue();
        if (due) {
            item_.SetCaption(prefix + problem.location);
            bar_.SetValue(step);
        }
        backup_.Record(position, problem, repairer.Repair(problem));
        if (due) forms::RunPendingEvents();
    }
    Unload();
}

}  // namespace app
