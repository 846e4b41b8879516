// The report of an unattended run, for scripts on any language's machine: stable English
// identifiers, a .csv (RFC 4180, UTF-8 with a byte-order mark) or a .json file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"
#include "repair/actions.h"

namespace app {

struct ReportLine {
    core::Problem problem;
    std::optional<repair::Outcome> outcome;  // none for a scan without repair
    std::string backupFile;                  // the export that holds the entry's key
};

struct RunReport {
    std::string time;  // local, ISO 8601
    std::string machine;
    std::string mode;  // "scan", "repair-conservative", "repair-aggressive"
    std::vector<ReportLine> lines;
};

// The line an unattended run writes for one problem: its kind, category, location and
// value name, the missing file, and what the repair did.
std::string ConsoleLine(const ReportLine& line);
// The closing line: how many were found, repaired and left.
std::string SummaryLine(const RunReport& report);

// The report as the file's extension asks: CSV for ".csv", JSON for any other.
std::string ReportText(const RunReport& report, const std::string& path);

}  // namespace app
