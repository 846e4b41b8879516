#include "repair/select_path.h"

#include <string>
#include <utility>

#include "core/translate.h"
#include "repair/missing_file.h"
#include "repair/repair_progress.h"

SelectPathForm::SelectPathForm(std::string missingFile)
    : ui::Form("frmRepairSelectPath"), missingFile_(std::move(missingFile)) {
    SetBorder(platform::BorderStyle::FixedDialog);
    SetStartPosition(ui::StartPosition::CenterOwner);
}

void SelectPathForm::Design() {
    SetCaption("Select file");
    SetClientSize(9855, 3390);
    Add(lblInfo, "lblInfo", {120, 120, 9615, 615});
    Add(lblMissing, "lblMissing", {120, 780, 9615, 420});
    Add(List1, "List1", {120, 1320, 9615, 1425});
    Add(OKButton, "OKButton", {5880, 2880, 1935, 375});
    OKButton.SetCaption("OK");
    OKButton.Click = [this] { OKButton_Click(); };
    Add(CancelButton, "CancelButton", {7920, 2880, 1815, 375});
    CancelButton.SetCaption("Cancel");
    CancelButton.Click = [this] { Unload(); };
    SetDialogButtons(&OKButton, &CancelButton);
    SetTabOrder({&List1, &OKButton, &CancelButton});
}

// The texts of this dialog exist only in the language files.
void SelectPathForm::Form_Load() {
    sChosenPath.clear();
    SetCaption(Translate("frmrepselpath_caption", ""));
    lblInfo.SetCaption(Translate("frmrepselpath_info", "") + " " + sRepairItemName +
                       Translate("frmrepselpath_info2", ""));
    lblMissing.SetCaption(Translate("frmrepselpath_missing", "") + "\r\n" + missingFile_);
    OKButton.SetCaption(Translate("frmrepselpath_ok", ""));
    CancelButton.SetCaption(Translate("frmrepselpath_cancel", ""));
    List1.Clear();
    for (const std::string& path : colCandidates)
        List1.AddItem(path);
    List1.SetListIndex(0);
}

// Cancel and the close box leave sChosenPath as the load left it: empty.
void SelectPathForm::OKButton_Click() {
    const int selected = List1.ListIndex();
    if (selected >= 0) sChosenPath = List1.List(selected);
    Unload();
}
