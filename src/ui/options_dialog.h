// The options dialog: whether the program scans by itself once a week.
#pragma once

#include <string>

#include "ui/controls.h"

class OptionsForm : public ui::Form {
  public:
    OptionsForm();

    ui::CheckBox chRunAutomatically;
    ui::Button btnOK;
    ui::Button btnCancel;

  protected:
    void Design() override;
    void Form_Load() override;

  private:
    void btnOK_Click();
};

// The autostart entry of the weekly scan: the program's quoted path and "/SCHEDULED".
std::string ScheduledRunCommand();
