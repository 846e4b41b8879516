#include "app/options_dialog.h"

namespace app {

std::optional<bool> AskWeeklyScan(forms::Form& owner, const core::Language& language,
                                  bool weeklyScan) {
    OptionsDialog dialog(language, weeklyScan);
    dialog.Show(forms::ShowMode::Modal, &owner);
    return dialog.Answer();
}

OptionsDialog::OptionsDialog(const core::Language& language, bool weeklyScan)
    : forms::Dialog("OptionsDialog"), language_(language), weeklyScan_(weeklyScan) {}

void OptionsDialog::Design() {
    SetClientSize(7485, 1860);
    Add(weekly_, "weekly", {360, 240, 6855, 495});
    Add(ok_, "ok", {3000, 1080, 2175, 495});
    ok_.Click = [this] {
        answer_ = weekly_.Value() == 1;
        Unload();
    };
    Add(cancel_, "cancel", {5280, 1080, 2055, 495});
    cancel_.Click = [this] { Unload(); };
    SetDialogButtons(&ok_, &cancel_);
    SetTabOrder({&ok_, &cancel_, &weekly_});
}

void OptionsDialog::OnLoad() {
    SetCaption(language_.Text("frmoptions_caption", "Options"));
    cancel_.SetCaption(language_.Text("frmoptions_cancel", "Cancel"));
    ok_.SetCaption(language_.Text("frmoptions_ok", "OK"));
    weekly_.SetCaption(
        language_.Text("frmoptions_runautomatically", "Perform automatic scan once a week"));
    if (weeklyScan_) weekly_.SetValue(1);
}

}  // namespace app
