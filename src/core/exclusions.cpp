#include "core/exclusions.h"

#include <algorithm>
#include <sstream>

#include "base/text.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/filesystem.h"

namespace core {
namespace {

// Both texts already in upper case: the classic backtracking match, which remembers only the
// last "*" and so never takes more than pattern x text steps.
bool Matches(const std::string& pattern, const std::string& text) {
    std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p, ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string FilePath() {
    return platform::ApplicationFolder() + "\\exclude.txt";
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& text) {
    return Matches(base::UpperCase(pattern), base::UpperCase(text));
}

Exclusions::Exclusions(const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns)
        patterns_.push_back(base::UpperCase(pattern));
}

Exclusions Exclusions::OfThisProgram() {
    std::string bytes;
    if (platform::ReadWholeFile(FilePath(), bytes) != platform::kErrorSuccess) return {};
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);  // Notepad's UTF-8 mark
    std::vector<std::string> patterns;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        line = base::Trim(line, " \t\r");
        if (!line.empty() && line.front() != '#') patterns.push_back(line);
    }
    return Exclusions(patterns);
}

bool Exclusions::Exclude(const Problem& problem) const {
    if (patterns_.empty()) return false;
    const std::string location = base::UpperCase(problem.location);
    const std::string missing = base::UpperCase(problem.missingFile);
    return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string& pattern) {
        return Matches(pattern, location) || (!missing.empty() && Matches(pattern, missing));
    });
}

long Exclusions::AddToFile(const std::string& pattern) {
    std::string bytes;
    platform::ReadWholeFile(FilePath(), bytes);  // a missing file is made
    const std::string line =
        (bytes.empty() || bytes.back() == '\n' ? "" : "\r\n") + pattern + "\r\n";
    const long error = platform::WriteWholeFile(FilePath(), bytes + line);
    if (error == platform::kErrorSuccess) patterns_.push_back(base::UpperCase(pattern));
    return error;
}

void Exclusions::RemoveFrom(Problems& problems) const {
    std::erase_if(problems, [this](const Problem& problem) { return Exclude(problem); });
}

}  // namespace core
