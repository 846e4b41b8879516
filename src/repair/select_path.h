// The chooser: which of several found files the broken entry is to point to.
#pragma once

#include <string>

#include "ui/controls.h"

class SelectPathForm : public ui::Form {
  public:
    // `missingFile` is the path the entry names: several entries may share one location
    // (every shared DLL's count lives in the same key), so the dialog names the file itself.
    explicit SelectPathForm(std::string missingFile);

    ui::Label lblInfo;
    ui::Label lblMissing;
    ui::ListBox List1;
    ui::Button OKButton;
    ui::Button CancelButton;

  protected:
    void Design() override;
    void Form_Load() override;

  private:
    void OKButton_Click();

    std::string missingFile_;
};
