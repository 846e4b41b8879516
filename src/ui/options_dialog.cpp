#include "ui/options_dialog.h"

#include <string>

#include "core/registry_access.h"
#include "core/settings.h"
#include "core/translate.h"
#include "platform/application.h"

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "ro_zuvaviv";

}  // namespace

// Quoted: Windows would take the first blank of an unquoted path in a Run entry as the end
// of the program's name, and start C:\Program.exe for a program under C:\Program Files.
std::string ScheduledRunCommand() {
    std::string command = "\"";
    command +=
        platform::ApplicationFolder() + "\\" + platform::ExecutableBaseName() + ".exe\" /SCHEDULED";
    return command;
}

OptionsForm::OptionsForm() : ui::Form("frmOptions") {
    SetBorder(platform::BorderStyle::FixedDialog);
    SetStartPosition(ui::StartPosition::CenterOwner);
}

void OptionsForm::Design() {
    SetClientSize(7485, 1860);
    Add(chRunAutomatically, "chRunAutomatically", {360, 240, 6855, 495});
    chRunAutomatically.SetCaption("Run program automatically once a week");
    Add(btnOK, "btnOK", {3000, 1080, 2175, 495});
    btnOK.SetCaption("OK");
    btnOK.Click = [this] { btnOK_Click(); };
    Add(btnCancel, "btnCancel", {5280, 1080, 2055, 495});
    btnCancel.SetCaption("&Cancel");
    btnCancel.Click = [this] { Unload(); };
    SetDialogButtons(&btnOK, &btnCancel);
    SetTabOrder({&btnOK, &btnCancel, &chRunAutomatically});
}

void OptionsForm::Form_Load() {
    SetCaption(Translate("frmoptions_caption", "Options"));
    btnCancel.SetCaption(Translate("frmoptions_cancel", "Cancel"));
    btnOK.SetCaption(Translate("frmoptions_ok", "OK"));
    chRunAutomatically.SetCaption(
        Translate("frmoptions_runautomatically", "Perform automatic scan once a week"));
    if (ReadSettingBool("runautomatically", true)) chRunAutomatically.SetValue(1);
}

// The setting only drives the box; the Run entry is what makes the weekly scans happen.
// Without the right to write it the setting is still stored: the user is not told.
void OptionsForm::btnOK_Click() {
    const bool on = chRunAutomatically.Value() == 1;
    WriteSettingBool("runautomatically", on);
    if (on) {
        ChangeRegistryValue(platform::kHkeyLocalMachine, kRunKey, kRunValue, ScheduledRunCommand());
    } else {
        DeleteRegistryValue(platform::kHkeyLocalMachine, kRunKey, kRunValue);
    }
    Unload();
}
