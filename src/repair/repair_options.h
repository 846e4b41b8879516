// The repair options dialog: how broken entries are repaired, and whether the registry is
// exported first.
#pragma once

#include "ui/controls.h"

// Repair methods (iRepairMethod).
constexpr short kRepairConservative = 1;  // search the missing file and re-point the entry
constexpr short kRepairAggressive = 2;    // delete the broken entries

// The choice of the last options dialog, read by the repair command.
extern short iRepairMethod;
extern bool bBackupRegistry;
extern bool bRepairConfirmed;  // true only when the dialog was closed with its start button

class RepairOptionsForm : public ui::Form {
  public:
    RepairOptionsForm();

    ui::Label lblPlease;
    ui::OptionButton optMethod[2];
    ui::Label lblMethodConservative;
    ui::Label lblMethodAggresive;
    ui::CheckBox chBackup;
    ui::Label lblBackup;
    ui::Button OKButton;
    ui::Button CancelButton;

  protected:
    void Design() override;
    void Form_Load() override;

  private:
    void OKButton_Click();
    void CancelButton_Click();
};
