// The modal window a scan runs in: what is being looked at, the bar, the count so far and
// Cancel.
#pragma once

#include "app/session.h"
#include "core/problem.h"
#include "core/progress.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace app {

enum class ScanEnd { Finished, Cancelled };

// Runs the whole scan in the window, modal over `owner`, appending to `problems`. The close
// box stops the scan as Cancel does, but it does not count as cancelled.
ScanEnd RunScanWindow(forms::Form& owner, const Session& session, core::Problems& problems);

class ScanWindow : public forms::Dialog, public core::Progress {
  public:
    ScanWindow(const Session& session, core::Problems& problems);

    bool Cancelled() const { return cancelled_; }

    bool Continue() override { return running_; }
    void Looking(const std::string& text) override;
    void KeepResponsive() override;

    // For the benchmark: the window's parts, as a scan updates them.
    forms::Label& ItemLabel() { return item_; }
    forms::Label& CountLabel() { return count_; }

  protected:
    void Design() override;
    void OnLoad() override;
    void OnUnload() override;

  private:
    void Scan();
    void Step();
    // Shows the number of problems found so far, once there is one.
    void ShowCount();

    const Session& session_;
    core::Problems& problems_;
    forms::Label item_;
    forms::ProgressBar bar_;
    forms::Label count_;
    forms::Button cancel_;
    forms::Timer start_;
    bool running_ = false;
    bool cancelled_ = false;
    std::size_t countShown_ = 0;
};

}  // namespace app
