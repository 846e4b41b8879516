// The options dialog: whether the program scans by itself once a week.
#pragma once

#include <optional>
#include <string>

#include "core/language.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace app {

// Shows the dialog modally over `owner` with the box as `weeklyScan`; the box's state after
// OK, nothing after Cancel, Esc or the close box.
std::optional<bool> AskWeeklyScan(forms::Form& owner, const core::Language& language,
                                  bool weeklyScan);

class OptionsDialog : public forms::Dialog {
  public:
    OptionsDialog(const core::Language& language, bool weeklyScan);

    const std::optional<bool>& Answer() const { return answer_; }

  protected:
    void Design() override;
    void OnLoad() override;

  private:
    const core::Language& language_;
    const bool weeklyScan_;
    forms::CheckBox weekly_;
    forms::Button ok_;
    forms::Button cancel_;
    std::optional<bool> answer_;
};

}  // namespace app
