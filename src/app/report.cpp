#include "app/report.h"

#include <nlohmann/json.hpp>

#include "base/text.h"

namespace app {
namespace {

struct Counts {
    std::size_t done = 0, left = 0;
};

Counts CountsOf(const RunReport& report) {
    Counts counts;
    for (const ReportLine& line : report.lines) {
        counts.done += line.done;
        counts.left += line.left;
    }
    return counts;
}

// The fields of a problem's line, the same for both formats.
std::vector<std::pair<const char*, std::string>> Fields(const ReportLine& line) {
    const core::Problem& p = line.problem;
    return {{"kind", repair::KindId(p.kind)}, {"category", repair::CategoryId(p.category)},
            {"location", p.location},         {"valueName", p.valueName},
            {"missingFile", p.missingFile},   {"action", line.action},
            {"newPath", line.newPath},        {"reason", line.reason},
            {"backupFile", line.backupFile}};
}

// RFC 4180: a field with a comma, a quote or a line break goes in quotes, its quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted.append(c == '"' ? 2 : 1, c);
    return quoted.append("\"");
}

std::string Csv(const RunReport& report) {
    std::string text = "\xEF\xBB\xBF";  // Excel reads UTF-8 only after its byte-order mark
    const ReportLine empty{};
    std::string header;
    for (const auto& [name, value] : Fields(empty))
        header.append(header.empty() ? "" : ",").append(name);
    text += header + "\r\n";
    for (const ReportLine& line : report.lines) {
        std::string row;
        for (const auto& [name, value] : Fields(line))
            row.append(row.empty() ? "" : ",").append(CsvField(value));
        text += row + "\r\n";
    }
    return text;
}

std::string Json(const RunReport& report) {
    nlohmann::ordered_json problems = nlohmann::ordered_json::array();
    for (const ReportLine& line : report.lines) {
        nlohmann::ordered_json problem;
        for (const auto& [name, value] : Fields(line))
            problem[name] = value;
        problems.push_back(std::move(problem));
    }
    const Counts counts = CountsOf(report);
    const bool undo = !report.run.empty();
    nlohmann::ordered_json json = {
        {"time", report.time}, {"machine", report.machine}, {"mode", report.mode}};
    if (undo) json["run"] = report.run;
    json["counts"] = {{undo ? "changes" : "found", report.lines.size()},
                      {undo ? "restored" : "repaired", counts.done},
                      {"left", counts.left}};
    json[undo ? "changes" : "problems"] = std::move(problems);
    // A name that is no valid UTF-8 is written with a replacement character, not dropped.
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string ConsoleLine(const ReportLine& line) {
    std::string text;
    for (const auto& [name, value] : Fields(line))
        if (!value.empty() && std::string(name) != "backupFile")
            text.append(text.empty() ? "" : "\t").append(value);
    return text;
}

ReportLine ReportLine::Found(const core::Problem& problem) {
    return {problem, "", "", "", "", false, false};
}

ReportLine ReportLine::Repaired(const core::Problem& problem, const repair::Outcome& outcome,
                                const std::string& backupFile) {
    const bool repaired =
        outcome.action == repair::Action::Repointed || outcome.action == repair::Action::Deleted;
    return {problem,         repair::ActionId(outcome.action),
            outcome.newPath, outcome.reason,
            backupFile,      repaired,
            !repaired};
}

ReportLine ReportLine::Restored(const repair::Restoration& restoration) {
    const bool undone = restoration.Undone();
    return {restoration.change.problem,
            repair::RestoredId(restoration.result),
            "",
            restoration.reason,
            restoration.change.backupFile,
            undone,
            !undone && restoration.result != repair::Restored::NothingKept};
}

std::string SummaryLine(const RunReport& report) {
    const Counts counts = CountsOf(report);
    if (!report.run.empty())
        return std::to_string(report.lines.size()) + " changes of run " + report.run + ", " +
               std::to_string(counts.done) + " restored, " + std::to_string(counts.left) + " left";
    std::string text = std::to_string(report.lines.size()) + " problems found";
    if (report.mode != "scan")
        text += ", " + std::to_string(counts.done) + " repaired, " + std::to_string(counts.left) +
                " left";
    return text;
}

std::string ReportText(const RunReport& report, const std::string& path) {
    const bool csv = path.size() >= 4 && base::EqualsNoCase(path.substr(path.size() - 4), ".csv");
    return csv ? Csv(report) : Json(report);
}

}  // namespace app
