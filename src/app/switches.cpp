#include "app/switches.h"

#include <vector>

#include "base/text.h"
#include "platform/application.h"

namespace app {
namespace {

// The words of a command line: blanks separate them, double quotes keep blanks inside one
// and are dropped ("/REPORT:C:\My Reports\a.csv" in quotes, or only its path quoted).
std::vector<std::string> Words(const std::string& arguments) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (const char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

// The text after "NAME:" when the word is that switch in any letter case.
bool IsSwitch(const std::string& word, const std::string& name, std::string* value = nullptr) {
    const std::string upper = base::UpperCase(word);
    if (value == nullptr) return upper == name;
    if (upper.rfind(name + ":", 0) != 0) return false;
    *value = word.substr(name.size() + 1);
    return true;
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           base::EqualsNoCase(text.substr(text.size() - end.size()), end);
}

constexpr const char* kOneMode = "only one of /SCAN, /REPAIR, /UNDO and /SCHEDULED";

}  // namespace

std::variant<Invocation, std::string> ParseSwitches(const std::string& arguments) {
    Invocation invocation;
    bool noBackup = false, report = false;
    const auto setMode = [&](Mode mode) {
        const bool first = invocation.mode == Mode::Window;
        invocation.mode = mode;
        return first;
    };
    for (const std::string& word : Words(arguments)) {
        std::string value;
        if (IsSwitch(word, "/SCHEDULED")) {
            if (!setMode(Mode::Scheduled)) return kOneMode;
        } else if (IsSwitch(word, "/SCAN")) {
            if (!setMode(Mode::Scan)) return kOneMode;
        } else if (IsSwitch(word, "/REPAIR", &value)) {
            if (!setMode(Mode::Repair)) return kOneMode;
            if (base::EqualsNoCase(value, "CONSERVATIVE"))
                invocation.method = repair::Method::Conservative;
            else if (base::EqualsNoCase(value, "AGGRESSIVE"))
                invocation.method = repair::Method::Aggressive;
            else
                return "/REPAIR takes CONSERVATIVE or AGGRESSIVE: " + word;
        } else if (IsSwitch(word, "/UNDO", &value)) {
            if (!setMode(Mode::Undo)) return kOneMode;
            if (value.empty()) return "/UNDO takes LATEST or a run's stamp: /UNDO:LATEST";
            invocation.run = base::EqualsNoCase(value, "LATEST") ? "" : value;
        } else if (IsSwitch(word, "/NOBACKUP")) {
            noBackup = true;
        } else if (IsSwitch(word, "/REPORT", &value)) {
            if (value.empty()) return "/REPORT needs a file: /REPORT:<file>.csv or .json";
            invocation.reportPath = platform::ExpandEnvironment(value);
            report = true;
        } else {
            return "unknown switch: " + word;
        }
    }
    if (report && !invocation.Unattended()) return "/REPORT goes with /SCAN, /REPAIR or /UNDO";
    if (noBackup && invocation.mode != Mode::Repair) return "/NOBACKUP goes with /REPAIR";
    if (report && !EndsWithNoCase(invocation.reportPath, ".csv") &&
        !EndsWithNoCase(invocation.reportPath, ".json"))
        return "the report is a .csv or a .json file: " + invocation.reportPath;
    invocation.backUp = !noBackup;
    return invocation;
}

}  // namespace app
