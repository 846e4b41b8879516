#include "app/repair_command.h"

#include <algorithm>
#include <string>

#include "app/repair_options_dialog.h"
#include "app/repair_window.h"
#include "app/window_user.h"
#include "forms/interaction.h"
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
    WindowUser user(language);
    if (choice->backUpRegistry && !repair::BackUpRegistry(problems, user)) return 0;
    RunRepairWindow(owner, session, choice->method, problems,
                    list.SelectedProblems(problems.size()));

    const long repaired = RemoveRepaired(problems);
    list.Refresh(problems);
    list.Select(Selection::All);
    forms::ShowMessage(language.Text("msgbox_repaired", "") + " " + std::to_string(repaired));
    return repaired;
}

}  // namespace app
