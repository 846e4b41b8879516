// The repair options dialog: how broken entries are repaired, and whether the registry is
// exported first.
#pragma once

#include <optional>

#include "core/language.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "repair/actions.h"

namespace app {

struct RepairChoice {
    repair::Method method = repair::Method::Conservative;
    bool backUpRegistry = true;
};

// Shows the dialog modally over `owner`; the choice when the user starts the repair,
// nothing after Cancel, Esc or the close box.
std::optional<RepairChoice> AskRepairOptions(forms::Form& owner, const core::Language& language);

class RepairOptionsDialog : public forms::Dialog {
  public:
    explicit RepairOptionsDialog(const core::Language& language);

    const std::optional<RepairChoice>& Choice() const { return choice_; }

  protected:
    void Design() override;
    void OnLoad() override;

  private:
    void Start();

    const core::Language& language_;
    forms::Label please_;
    forms::OptionButton conservative_;
    forms::Label conservativeText_;
    forms::OptionButton aggressive_;
    forms::Label aggressiveText_;
    forms::CheckBox backUp_;
    forms::Label backUpText_;
    forms::Button start_;
    forms::Button cancel_;
    std::optional<RepairChoice> choice_;
};

}  // namespace app
