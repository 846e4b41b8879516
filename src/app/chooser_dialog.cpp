#include "app/chooser_dialog.h"

namespace app {

std::optional<std::string> ChoosePath(forms::Form* owner, const core::Language& language,
                                      const core::Problem& problem,
                                      const std::vector<std::string>& candidates) {
    ChooserDialog dialog(language, problem, candidates);
    dialog.Show(forms::ShowMode::Modal, owner);
    return dialog.Chosen();
}

ChooserDialog::ChooserDialog(const core::Language& language, const core::Problem& problem,
                             const std::vector<std::string>& candidates)
    : forms::Dialog("ChooserDialog"),
      language_(language),
      problem_(problem),
      candidates_(candidates) {}

void ChooserDialog::Design() {
    SetClientSize(9855, 3390);
    Add(info_, "info", {120, 120, 9615, 615});
    Add(missing_, "missing", {120, 780, 9615, 420});
    Add(paths_, "paths", {120, 1320, 9615, 1425});
    Add(ok_, "ok", {5880, 2880, 1935, 375});
    ok_.Click = [this] { Accept(); };
    Add(cancel_, "cancel", {7920, 2880, 1815, 375});
    cancel_.Click = [this] { Unload(); };
    SetDialogButtons(&ok_, &cancel_);
    SetTabOrder({&paths_, &ok_, &cancel_});
}

// The texts of this dialog exist only in the language files.
void ChooserDialog::OnLoad() {
    const auto text = [this](const char* key) { return language_.Text(key, ""); };
    chosen_.reset();
    SetCaption(text("frmrepselpath_caption"));
    // A single find is offered only when it lies in a folder of another name.
    info_.SetCaption(
        text("frmrepselpath_info") + " " + problem_.location +
        text(candidates_.size() == 1 ? "frmrepselpath_info2_one" : "frmrepselpath_info2"));
    missing_.SetCaption(text("frmrepselpath_missing") + "\r\n" + problem_.missingFile);
    ok_.SetCaption(text("frmrepselpath_ok"));
    cancel_.SetCaption(text("frmrepselpath_cancel"));
    paths_.Clear();
    for (const std::string& path : candidates_)
        paths_.Add(path);
    paths_.Select(0);
}

void ChooserDialog::Accept() {
    if (const int selected = paths_.Selection(); selected >= 0) chosen_ = paths_.Text(selected);
    Unload();
}

}  // namespace app
