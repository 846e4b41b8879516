// The repair window: the run over the selected problems, with the one being repaired, the
// search's status line, the bar and Cancel.
#pragma once

#include <vector>

#include "app/session.h"
#include "app/window_user.h"
#include "core/problem.h"
#include "core/progress.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "repair/actions.h"
#include "repair/backup.h"

namespace app {

// Repairs the problems at `positions` by `method`, modal over `owner`; each repaired problem
// is marked so, and what was done with each goes into the run's backup record. Cancel takes
// effect between problems.
void RunRepairWindow(forms::Form& owner, const Session& session, repair::Method method,
                     core::Problems& problems, const std::vector<std::size_t>& positions,
                     repair::RunBackup& backup);

class RepairWindow : public forms::Dialog, public core::Progress {
  public:
    RepairWindow(const Session& session, repair::Method method, core::Problems& problems,
                 const std::vector<std::size_t>& positions, repair::RunBackup& backup);

    bool Continue() override { return running_; }
    // The search's status line; an empty text clears it at once.
    void Looking(const std::string& text) override;
    void KeepResponsive() override;

  protected:
    void Design() override;
    void OnLoad() override;
    void OnUnload() override;

  private:
    void Run();

    const Session& session_;
    const repair::Method method_;
    core::Problems& problems_;
    const std::vector<std::size_t>& positions_;
    repair::RunBackup& backup_;
    WindowUser user_;
    forms::Label item_;
    forms::Label status_;
    forms::ProgressBar bar_;
    forms::Button cancel_;
    forms::Timer start_;
    bool running_ = false;
};

}  // namespace app
