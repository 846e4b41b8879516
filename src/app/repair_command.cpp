#include "app/repair_command.h"

#include <algorithm>
#include <string>

#include "app/repair_options_dialog.h"
#include "app/repair_window.h"
#include "app/window_user.h"
#include "forms/interaction.h"
#include "base/product.h"
#include "platform/errors.h"
#include "repair/backup.h"

namespace app {
namespace {

// Takes the repaired problems out in one pass, the others keeping their order; returns how
// many went.
long RemoveRepaired(core::Problems& problems) {
    const auto kept = std::stable_partition(problems.begin(), problems.end(),
                                            [](const core::Problem& p) { return !p.repaired; });
    const long removed = static_cast<long>(problems.end() - kept);
    problems.erase(kept, problems.end());
    return removed;
}

}  // namespace

long RunRepairCommand(forms::Form& owner, const Session& session, core::Problems& problems,
                      ProblemListView& list) {
    const core::Language& language = session.language;
    if (problems.empty()) {
        forms::ShowMessage(language.Text("msgbox_firstfindproblems",
                                         "No problems to repair. Please first find issues "
                                         "clicking on button 'Find problems'"),
                           language.Text("msgbox_title_warning", "Warning"));
        return 0;
    }
    const std::optional<RepairChoice> choice = AskRepairOptions(owner, language);
    if (!choice) return 0;
    // Nothing is changed before the backup is kept, or the user has chosen to go without.
    const std::vector<std::size_t> positions = list.SelectedProblems(problems.size());
    WindowUser user(language);
    repair::RunBackup backup(choice->method);
    if (!backup.Take(problems, positions, choice->backUpRegistry, user)) return 0;
    RunRepairWindow(owner, session, choice->method, problems, positions, backup);
    if (const long error = backup.Save(); error != platform::kErrorSuccess)
        forms::ShowMessage(backup.Stamp() + ".json: " + platform::ErrorDescription(error),
                           base::kProductTitle, forms::Buttons::Ok, forms::Icon::Warning);

    const long repaired = RemoveRepaired(problems);
    list.Refresh(problems);
    list.Select(Selection::All);
    forms::ShowMessage(language.Text("msgbox_repaired", "") + " " + std::to_string(repaired));
    return repaired;
}

}  // namespace app
