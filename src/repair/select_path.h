// The chooser: which of several found files the broken entry is to point to.
#pragma once

#include "ui/controls.h"

class SelectPathForm : public ui::Form {
  public:
    SelectPathForm();

    ui::Label lblInfo;
    ui::ListBox List1;
    ui::Button OKButton;
    ui::Button CancelButton;

  protected:
    void Design() override;
    void Form_Load() override;

  private:
    void OKButton_Click();
};
