#include "app/window_user.h"

#include "app/chooser_dialog.h"
#include "forms/interaction.h"

namespace app {

std::optional<std::string> WindowUser::ChoosePath(const core::Problem& problem,
                                                  const std::vector<std::string>& candidates) {
    return app::ChoosePath(owner_, language_, problem, candidates);
}

void WindowUser::CannotDelete(const std::string& path) {
    forms::ShowMessage(
        language_.Text("error_deleteerror1", "Error: Cannot delete the file") + "\r\n" + path +
            "\r\n" +
            language_.Text("error_deleteerror",
                           "File is most propably read-only. You should delete this file "
                           "manually."),
        language_.Text("error_deleteerror_caption", "Error deleting file"));
}

bool WindowUser::RepairWithoutCompleteBackup() {
    const std::string prompt = language_.Text(
        "msgbox_backupfailed",
        "The registry could not be backed up completely (see log.txt).||Repair anyway, "
        "without a complete backup?");
    return forms::ShowMessage(prompt, language_.Text("msgbox_title_warning", "Warning"),
                              forms::Buttons::YesNo, forms::Icon::Warning) == forms::Answer::Yes;
}

}  // namespace app
