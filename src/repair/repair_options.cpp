#include "repair/repair_options.h"

#include <string>

#include "core/translate.h"
#include "platform/application.h"

short iRepairMethod = kRepairConservative;
bool bBackupRegistry = true;
bool bRepairConfirmed = false;

RepairOptionsForm::RepairOptionsForm() : ui::Form("frmRepairOptions") {
    SetBorder(platform::BorderStyle::FixedDialog);
    SetStartPosition(ui::StartPosition::CenterOwner);
}

// The English wording of the design stays until Form_Load puts in the language's texts.
void RepairOptionsForm::Design() {
    SetClientSize(8790, 5040);
    SetCaption("Repair options");
    const auto place = [this](ui::Label& control, const std::string& name, ui::TwipRect bounds,
                              const std::string& caption) {
        Add(control, name, bounds);
        control.SetCaption(caption);
    };
    place(lblPlease, "lblPlease", {240, 840, 8415, 375}, "Please select the repair method:");
    lblPlease.SetFont(12, true);
    place(optMethod[0], "optMethod(0)", {240, 1320, 5655, 375}, "Conservative");
    place(lblMethodConservative, "lblMethodConservative", {480, 1680, 7935, 735},
          "Safest but very slow. Program will search your harddisk for files to which the links "
          "are broken. If found, broken link will be repaired, if not, the shortcuts and registry "
          "keys with broken links will be deleted.");
    place(optMethod[1], "optMethod(1)", {240, 2400, 5655, 375}, "Aggresive");
    place(lblMethodAggresive, "lblMethodAggresive", {480, 2760, 8055, 495},
          "Less safe but very quick. All shortcuts and registry keys with broken links will be "
          "deleted.");
    place(chBackup, "chBackup", {240, 3360, 6735, 255},
          "Backup registry before making any changes");
    chBackup.SetValue(1);
    place(lblBackup, "lblBackup", {480, 3600, 8055, 735},
          "This is important. Program will backup registry to the file c:\\regbackup.reg before "
          "making any changes. Every change to the registry is dangerous operation, so you can "
          "later restore registry from the backup if necessary.");
    place(OKButton, "OKButton", {4680, 4440, 1935, 375}, "Start repair");
    place(CancelButton, "CancelButton", {6720, 4440, 1935, 375}, "Cancel");
    for (int index = 0; index < 2; ++index) {
        optMethod[index].SetIndex(index);
        optMethod[index].SetFont(8, true);
    }
    chBackup.SetFont(8, true);
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
    SetDialogButtons(nullptr, &CancelButton);
    SetTabOrder({&optMethod[0], &optMethod[1], &chBackup, &OKButton, &lblMethodConservative,
                 &CancelButton, &lblMethodAggresive, &lblBackup, &lblPlease});
}

// The wording comes from the language file alone: a missing key leaves its caption empty.
void RepairOptionsForm::Form_Load() {
    SetCaption(Translate("frmrepopt_caption", ""));
    OKButton.SetCaption(Translate("frmrepopt_button_ok", ""));
    CancelButton.SetCaption(Translate("frmrepopt_button_cancel", ""));
    optMethod[0].SetCaption(Translate("frmrepopt_opt_method0", ""));
    optMethod[1].SetCaption(Translate("frmrepopt_opt_method1", ""));
    chBackup.SetCaption(Translate("frmrepopt_ch_backup", ""));
    lblPlease.SetCaption(Translate("frmrepopt_lbl_please", ""));
    lblMethodConservative.SetCaption(Translate("frmrepopt_lbl_backup0", ""));
    lblMethodAggresive.SetCaption(Translate("frmrepopt_lbl_method1", ""));
    std::string backup = Translate("frmrepopt_lbl_backup", "");
    backup.append(" ").append(platform::ApplicationFolder()).append("\\backup\r\n");
    lblBackup.SetCaption(backup.append(Translate("frmrepopt_lbl_backup2", "")));
    bRepairConfirmed = false;
    // optMethod(0) leads the tab order and takes the focus when the dialog shows; an option
    // button that takes the focus is selected, so Conservative is the method offered.
    optMethod[0].SetValue(true);
}

// With neither method selected, the aggressive one is taken; a grayed box is no backup.
void RepairOptionsForm::OKButton_Click() {
    iRepairMethod = optMethod[0].Value() ? kRepairConservative : kRepairAggressive;
    bBackupRegistry = chBackup.Value() == 1;
    bRepairConfirmed = true;
    Unload();
}

// Esc and the close box end the same way: nothing confirmed, the earlier choice kept.
void RepairOptionsForm::CancelButton_Click() {
    Unload();
}
