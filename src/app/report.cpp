#include "app/report.h"

#include <nlohmann/json.hpp>

#include "base/text.h"

namespace app {
namespace {

const char* KindId(core::ProblemKind kind) {
    switch (kind) {
        case core::ProblemKind::Registry:
            return "registry";
        case core::ProblemKind::Shortcut:
            return "shortcut";
        case core::ProblemKind::File:
            return "file";
    }
    return "unknown";
}

const char* CategoryId(core::Category category) {
    switch (category) {
        case core::Category::BrokenLink:
            return "broken-link";
        case core::Category::UnusedFile:
            return "unused-file";
        case core::Category::WrongUninstall:
            return "wrong-uninstall";
        case core::Category::WrongHelp:
            return "wrong-help";
    }
    return "unknown";
}

// Empty for a scan: nothing was done.
const char* ActionId(const std::optional<repair::Outcome>& outcome) {
    if (!outcome) return "";
    switch (outcome->action) {
        case repair::Action::Repointed:
            return "repointed";
        case repair::Action::Deleted:
            return "deleted";
        case repair::Action::NeedsChoice:
            return "left-needs-choice";
        case repair::Action::Failed:
            return "left-failed";
    }
    return "";
}

bool Repaired(const ReportLine& line) {
    return line.outcome && (line.outcome->action == repair::Action::Repointed ||
                            line.outcome->action == repair::Action::Deleted);
}

// The fields of a problem's line, the same for both formats.
std::vector<std::pair<const char*, std::string>> Fields(const ReportLine& line) {
    const core::Problem& p = line.problem;
    const auto* outcome = line.outcome ? &*line.outcome : nullptr;
    return {{"kind", KindId(p.kind)},
            {"category", CategoryId(p.category)},
            {"location", p.location},
            {"valueName", p.valueName},
            {"missingFile", p.missingFile},
            {"action", ActionId(line.outcome)},
            {"newPath", outcome ? outcome->newPath : ""},
            {"reason", outcome ? outcome->reason : ""},
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
    std::size_t repaired = 0;
    for (const ReportLine& line : report.lines) {
        nlohmann::ordered_json problem;
        for (const auto& [name, value] : Fields(line))
            problem[name] = value;
        problems.push_back(std::move(problem));
        repaired += Repaired(line);
    }
    const bool repair = report.mode != "scan";
    nlohmann::ordered_json json = {{"time", report.time},
                                   {"machine", report.machine},
                                   {"mode", report.mode},
                                   {"counts",
                                    {{"found", report.lines.size()},
                                     {"repaired", repaired},
                                     {"left", repair ? report.lines.size() - repaired : 0}}},
                                   {"problems", std::move(problems)}};
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

std::string SummaryLine(const RunReport& report) {
    std::size_t repaired = 0;
    for (const ReportLine& line : report.lines)
        repaired += Repaired(line);
    std::string text = std::to_string(report.lines.size()) + " problems found";
    if (report.mode != "scan")
        text += ", " + std::to_string(repaired) + " repaired, " +
                std::to_string(report.lines.size() - repaired) + " left";
    return text;
}

std::string ReportText(const RunReport& report, const std::string& path) {
    const bool csv = path.size() >= 4 && base::EqualsNoCase(path.substr(path.size() - 4), ".csv");
    return csv ? Csv(report) : Json(report);
}

}  // namespace app
