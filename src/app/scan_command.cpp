#include "app/scan_command.h"

#include "core/first_run.h"
#include "core/settings.h"
#include "app/scan_window.h"
#include "forms/interaction.h"

namespace app {
namespace {

// The first scan's count is kept, and handed to the companion updater; a cancelled first
// scan hands over none instead.
void ReportFirstScan(Session& session, long count, ScanEnd end) {
    if (session.firstScanProblems) return;
    session.firstScanProblems = count;
    core::WriteSettingLong("firsterrors", count);
    core::HandOffFirstErrors(end == ScanEnd::Cancelled ? std::nullopt : std::optional(count));
}

}  // namespace

std::string ScanSummary(const core::Problems& problems, const core::Language& language) {
    // The summary's texts exist only in the language file.
    const auto text = [&](const std::string& key) {
        return language.Text("scanresult_" + key, "");
    };
    // One group: the count between its two texts, then the advice for it. `many` is the
    // count from which the third advice applies.
    const auto group = [&](const std::string& name, int count, int many) {
        const char* advice = count < 1 ? "advice1" : count < many ? "advice2" : "advice3";
        return text(name + "1") + " " + std::to_string(count) + " " + text(name + "2") +
               text(name + advice);
    };
    int files = 0, registry = 0, shortcuts = 0;
    for (const core::Problem& problem : problems) {
        switch (problem.kind) {
            case core::ProblemKind::File:
                ++files;
                break;
            case core::ProblemKind::Registry:
                ++registry;
                break;
            case core::ProblemKind::Shortcut:
                ++shortcuts;
                break;
        }
    }
    return text("1") + group("files", files, 50) + group("registry", registry, 50) +
           group("shortcuts", shortcuts, 10) + text("final");
}

bool FindProblems(forms::Form& owner, Session& session, core::Problems& problems,
                  ProblemListView& list) {
    problems.clear();
    list.Refresh(problems);
    forms::RunPendingEvents();
    const ScanEnd end = RunScanWindow(owner, session, problems);

    list.Refresh(problems);
    list.Select(Selection::All);
    ReportFirstScan(session, static_cast<long>(problems.size()), end);
    const core::Language& language = session.language;
    if (problems.empty()) {
        forms::ShowMessage(language.Text("msgbox_congratnoproblems", ""));
        return false;
    }
    return forms::ShowMessage(ScanSummary(problems, language),
                              language.Text("scanresult_caption", ""), forms::Buttons::YesNo,
                              forms::Icon::Warning) == forms::Answer::Yes;
}

}  // namespace app
