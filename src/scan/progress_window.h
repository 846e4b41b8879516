// The modal window a scan runs in, with the flags that stop it and the progress procedures
// that the scan and its scanners call.
#pragma once

#include <memory>
#include <string>

#include "ui/controls.h"

// True while the scan may go on; every scanner polls it.
extern bool bScanRunning;
// True when the user pressed Cancel during the last scan.
extern bool bScanCancelled;

class ProgressForm : public ui::Form {
  public:
    static constexpr int kSteps = 14;

    ProgressForm();

    ui::Label lbl1;
    ui::ProgressBar ProgressBar1;
    ui::Label lblProblems;
    ui::Button btnCancel;
    ui::Timer Timer1;

    // Shows the number of problems found so far, once there is one.
    void ShowProblems(int count);

  protected:
    void Design() override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

  private:
    void btnCancel_Click();
    int problemsShown_ = 0;
    void Timer1_Timer();
};

// The current progress window; a new one for every scan.
extern std::unique_ptr<ProgressForm> frmProgress;

// One step more on the bar, then pending events run.
void ProgressStep();
// Shows the item being scanned and, once there are problems, their number, then lets
// pending events run; at the pace a screen can take, not for every item.
void ShowProgress(const std::string& text);
// Lets pending events run, at that same pace: where a scanner lets the user act.
void LetPendingEventsRun();
