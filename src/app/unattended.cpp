#include "app/unattended.h"

#include <algorithm>
#include <set>

#include "app/report.h"
#include "core/logs.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "repair/backup.h"
#include "repair/restore.h"
#include "scan/scanners.h"

namespace app {
namespace {

// Nobody watches: the run goes on to the end.
struct Unwatched final : core::Progress {
    bool Continue() override { return true; }
    void Looking(const std::string&) override {}
    void KeepResponsive() override {}
};

// The safe answer to every question: a found file is taken only when it alone has the best
// evidence and that is a shared folder name; nothing that was not chosen is deleted; no
// repair without a complete backup.
struct Unattended final : repair::User {
    std::optional<std::string> ChoosePath(const core::Problem& problem,
                                          const std::vector<std::string>& candidates) override {
        const std::size_t best = repair::SharedFolderNames(candidates.front(), problem.missingFile);
        const bool alone = candidates.size() == 1 ||
                           repair::SharedFolderNames(candidates[1], problem.missingFile) < best;
        if (best > 0 && alone) return candidates.front();
        return std::nullopt;
    }
    bool DeleteWhenNoneChosen() const override { return false; }
    void CannotDelete(const std::string&) override {}  // the outcome tells the reason
    bool RepairWithoutCompleteBackup() override { return false; }
};

std::string ModeId(const Invocation& invocation) {
    if (invocation.mode == Mode::Scan) return "scan";
    if (invocation.mode == Mode::Undo) return "undo";
    return invocation.method == repair::Method::Aggressive ? "repair-aggressive"
                                                           : "repair-conservative";
}

// The scan's problems, one per identity as the window lists them.
core::Problems Scan(const Session& session, core::Progress& progress) {
    core::Problems found;
    scan::Scope scope{session.folders, session.language, found, progress};
    scan::RunScan(scope, [] {});
    session.exclusions.RemoveFrom(found);
    core::Problems problems;
    std::set<std::string> identities;
    for (core::Problem& problem : found)
        if (identities.insert(problem.Identity()).second) problems.push_back(std::move(problem));
    return problems;
}

// The report is written where asked; false, after saying why, when it cannot be.
bool WriteReport(const std::string& path, const std::string& text) {
    if (path.empty()) return true;
    const long error = platform::WriteWholeFile(path, text);
    if (error == platform::kErrorSuccess) return true;
    platform::WriteOutputLine("purgelint: the report " + path +
                              " cannot be written: " + platform::ErrorDescription(error));
    return false;
}

// What the run found and did, line by line, to the starter, the report and the log.
void Tell(const RunReport& report, const std::string& reportPath) {
    for (const ReportLine& line : report.lines)
        platform::WriteOutputLine(ConsoleLine(line));
    platform::WriteOutputLine(SummaryLine(report));
    core::WriteAppLog(".. " + report.mode + ": " + SummaryLine(report));
    WriteReport(reportPath, ReportText(report, reportPath));
}

// Restores the run the invocation names (the latest when none) and tells what came back.
int Undo(const Invocation& invocation, RunReport& report) {
    std::optional<repair::RunRecord> run;
    if (!invocation.run.empty()) {
        run = repair::FindRun(invocation.run);
    } else if (auto runs = repair::ListRuns(); !runs.empty()) {
        run = std::move(runs.front());
    }
    if (!run) {
        const std::string which = invocation.run.empty() ? "" : invocation.run + " ";
        platform::WriteOutputLine("purgelint: no repair run " + which + "is kept in " +
                                  repair::BackupFolder());
        return kExitBadCommandLine;
    }
    report.run = run->stamp;
    for (const repair::Restoration& restoration : repair::RestoreRun(*run))
        report.lines.push_back(ReportLine::Restored(restoration));
    if (run->damaged)
        platform::WriteOutputLine("purgelint: the record of run " + run->stamp +
                                  " is damaged: what it lost cannot be restored");
    Tell(report, invocation.reportPath);
    const bool left = std::any_of(report.lines.begin(), report.lines.end(),
                                  [](const ReportLine& line) { return line.left; });
    return left || run->damaged ? kExitLeft : kExitClean;
}

// Repairs every problem found, after keeping the run's backup unless told not to.
int Repair(const Invocation& invocation, core::Problems& problems, core::Progress& progress,
           const Session& session, RunReport& report) {
    Unattended user;
    std::vector<std::size_t> positions(problems.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    repair::RunBackup backup(invocation.method);
    if (!problems.empty() && !backup.Take(problems, positions, invocation.backUp, user)) {
        platform::WriteOutputLine("purgelint: the backup failed: nothing was changed");
        Tell(report, invocation.reportPath);
        return kExitBackupFailed;
    }
    repair::Repairer repairer(invocation.method, session.folders, session.language, progress, user);
    bool allRepaired = true;
    for (const std::size_t i : positions) {
        const repair::Outcome outcome = repairer.Repair(problems[i]);
        backup.Record(i, problems[i], outcome);
        report.lines[i] = ReportLine::Repaired(problems[i], outcome, backup.FileOf(i));
        allRepaired = allRepaired && problems[i].repaired;
    }
    if (const long error = backup.Save(); error != platform::kErrorSuccess)
        platform::WriteOutputLine(
            "purgelint: the record of run " + backup.Stamp() +
            " cannot be written, so it cannot be undone: " + platform::ErrorDescription(error));
    Tell(report, invocation.reportPath);
    return allRepaired ? kExitClean : kExitLeft;
}

}  // namespace

int RunUnattended(const Invocation& invocation, const Session& session) {
    // A report that cannot be written is a wrong command line: nothing is scanned or changed.
    if (!WriteReport(invocation.reportPath, "")) return kExitBadCommandLine;
    platform::SystemTime now;
    platform::GetLocalTime(now);
    RunReport report{repair::IsoTime(now), platform::ComputerName(), ModeId(invocation), {}, ""};
    if (invocation.mode == Mode::Undo) return Undo(invocation, report);
    Unwatched progress;
    core::Problems problems = Scan(session, progress);
    for (const core::Problem& problem : problems)
        report.lines.push_back(ReportLine::Found(problem));
    if (invocation.mode == Mode::Repair)
        return Repair(invocation, problems, progress, session, report);
    Tell(report, invocation.reportPath);
    return problems.empty() ? kExitClean : kExitFound;
}

}  // namespace app
