// The report of an unattended run, for scripts on any language's machine: stable English
// identifiers, a .csv (RFC 4180, UTF-8 with a byte-order mark) or a .json file.
#pragma once

#include <string>
#include <vector>

#include "core/problem.h"
#include "repair/actions.h"
#include "repair/restore.h"

namespace app {

// One problem, or one change of an undone run, and what the run did with it.
struct ReportLine {
    core::Problem problem;
    std::string action;  // empty for a scan
    std::string newPath;
    std::string reason;
    std::string backupFile;  // the export or copy that keeps its earlier state
    bool done = false;       // repaired, or restored
    bool left = false;       // not repaired, or not restored although it could have been

    static ReportLine Found(const core::Problem& problem);
    static ReportLine Repaired(const core::Problem& problem, const repair::Outcome& outcome,
                               const std::string& backupFile);
    static ReportLine Restored(const repair::Restoration& restoration);
};

struct RunReport {
    std::string time;  // local, ISO 8601
    std::string machine;
    std::string mode;  // "scan", "repair-conservative", "repair-aggressive", "undo"
    std::vector<ReportLine> lines;
    std::string run;  // the undone run's stamp
};

// The line an unattended run writes for one problem: its kind, category, location and
// value name, the missing file, and what the run did.
std::string ConsoleLine(const ReportLine& line);
// The closing line: how many were found, repaired and left, or restored and left.
std::string SummaryLine(const RunReport& report);

// The report as the file's extension asks: CSV for ".csv", JSON for any other.
std::string ReportText(const RunReport& report, const std::string& path);

}  // namespace app
