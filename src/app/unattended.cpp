#include "app/unattended.h"

#include <cstdio>
#include <set>

#include "app/report.h"
#include "core/logs.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "repair/backup.h"
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

std::string IsoTime(const platform::SystemTime& t) {
    char text[64];  // room for any field values
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    return text;
}

std::string ModeId(const Invocation& invocation) {
    if (invocation.mode == Mode::Scan) return "scan";
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

}  // namespace

int RunUnattended(const Invocation& invocation, const Session& session) {
    // A report that cannot be written is a wrong command line: nothing is scanned or changed.
    if (!WriteReport(invocation.reportPath, "")) return kExitBadCommandLine;
    platform::SystemTime now;
    platform::GetLocalTime(now);
    RunReport report{IsoTime(now), platform::ComputerName(), ModeId(invocation), {}};
    Unwatched progress;
    core::Problems problems = Scan(session, progress);
    for (const core::Problem& problem : problems)
        report.lines.push_back({problem, std::nullopt, ""});
    if (invocation.mode == Mode::Scan) {
        Tell(report, invocation.reportPath);
        return problems.empty() ? kExitClean : kExitFound;
    }

    Unattended user;
    std::vector<std::string> backups(problems.size());
    if (invocation.backUp && !problems.empty()) {
        auto files = repair::BackUpRegistry(problems, user);
        if (!files) {
            platform::WriteOutputLine("purgelint: the registry backup failed: nothing was changed");
            Tell(report, invocation.reportPath);
            return kExitBackupFailed;
        }
        backups = std::move(*files);
    }
    repair::Repairer repairer(invocation.method, session.folders, session.language, progress, user);
    bool allRepaired = true;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        report.lines[i].outcome = repairer.Repair(problems[i]);
        report.lines[i].backupFile = backups[i];
        allRepaired = allRepaired && problems[i].repaired;
    }
    Tell(report, invocation.reportPath);
    return allRepaired ? kExitClean : kExitLeft;
}

}  // namespace app
