// The repair progress window: its timer repairs the record behind every selected row.
#pragma once

#include <string>

#include "ui/controls.h"

class RepairProgressForm : public ui::Form {
  public:
    explicit RepairProgressForm(ui::ListView& lstMain);

    ui::Label lbl1;  // the record being repaired
    ui::Label lbl2;  // the missing-file search's status line
    ui::ProgressBar ProgressBar1;
    ui::Button btnCancel;
    ui::Timer Timer1;

  protected:
    void Design() override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

  private:
    void btnCancel_Click();
    void Timer1_Timer();

    ui::ListView& lstMain_;
    bool bRunning = false;
};

// The window of the current repair run; null outside a run.
extern RepairProgressForm* frmRepairRun;
// The location of the record whose missing file is being searched for.
extern std::string sRepairItemName;
