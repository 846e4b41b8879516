#include "app/repair_options_dialog.h"

#include <string>

#include "platform/application.h"

namespace app {

std::optional<RepairChoice> AskRepairOptions(forms::Form& owner, const core::Language& language) {
    RepairOptionsDialog dialog(language);
    dialog.Show(forms::ShowMode::Modal, &owner);
    return dialog.Choice();
}

RepairOptionsDialog::RepairOptionsDialog(const core::Language& language)
    : forms::Dialog("RepairOptionsDialog"), language_(language) {}

void RepairOptionsDialog::Design() {
    SetClientSize(8790, 5040);
    Add(please_, "please", {240, 840, 8415, 375});
    please_.SetFont(12, true);
    Add(conservative_, "conservative", {240, 1320, 5655, 375});
    Add(conservativeText_, "conservativeText", {480, 1680, 7935, 735});
    Add(aggressive_, "aggressive", {240, 2400, 5655, 375});
    Add(aggressiveText_, "aggressiveText", {480, 2760, 8055, 495});
    Add(backUp_, "backUp", {240, 3360, 6735, 255});
    backUp_.SetValue(1);
    Add(backUpText_, "backUpText", {480, 3600, 8055, 735});
    Add(start_, "start", {4680, 4440, 1935, 375});
    Add(cancel_, "cancel", {6720, 4440, 1935, 375});
    conservative_.SetIndex(0);
    aggressive_.SetIndex(1);
    for (forms::Label* bold :
         {static_cast<forms::Label*>(&conservative_), static_cast<forms::Label*>(&aggressive_),
          static_cast<forms::Label*>(&backUp_)})
        bold->SetFont(8, true);
    start_.Click = [this] { Start(); };
    cancel_.Click = [this] { Unload(); };
    SetDialogButtons(nullptr, &cancel_);
    SetTabOrder({&conservative_, &aggressive_, &backUp_, &start_, &conservativeText_, &cancel_,
                 &aggressiveText_, &backUpText_, &please_});
}

// The wording comes from the language file alone: a missing key leaves its caption empty.
void RepairOptionsDialog::OnLoad() {
    const auto text = [this](const char* key) { return language_.Text(key, ""); };
    SetCaption(text("frmrepopt_caption"));
    start_.SetCaption(text("frmrepopt_button_ok"));
    cancel_.SetCaption(text("frmrepopt_button_cancel"));
    conservative_.SetCaption(text("frmrepopt_opt_method0"));
    aggressive_.SetCaption(text("frmrepopt_opt_method1"));
    backUp_.SetCaption(text("frmrepopt_ch_backup"));
    please_.SetCaption(text("frmrepopt_lbl_please"));
    conservativeText_.SetCaption(text("frmrepopt_lbl_backup0"));
    aggressiveText_.SetCaption(text("frmrepopt_lbl_method1"));
    backUpText_.SetCaption(text("frmrepopt_lbl_backup") + " " + platform::ApplicationFolder() +
                           "\\backup\r\n" + text("frmrepopt_lbl_backup2"));
    choice_.reset();
    // The conservative button leads the tab order and takes the focus when the dialog shows;
    // an option button that takes the focus is selected, so it is the method offered.
    conservative_.SetValue(true);
}

// With neither method selected, the aggressive one is taken; a grayed box is no backup.
void RepairOptionsDialog::Start() {
    choice_ = RepairChoice{
        conservative_.Value() ? repair::Method::Conservative : repair::Method::Aggressive,
        backUp_.Value() == 1};
    Unload();
}

}  // namespace app
