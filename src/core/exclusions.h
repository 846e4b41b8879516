// The problems never to report: patterns an administrator deploys beside the program.
#pragma once

#include <string>
#include <vector>

#include "core/problem.h"

namespace core {

// Whether the whole text matches the pattern: "*" any run of characters, "?" any one, every
// other character itself in any letter case.
bool MatchesWildcard(const std::string& pattern, const std::string& text);

class Exclusions {
  public:
    Exclusions() = default;
    explicit Exclusions(const std::vector<std::string>& patterns);
    // "exclude.txt" beside the program: one pattern a line, blank lines and lines starting
    // with "#" left out; none when the file is not there.
    static Exclusions OfThisProgram();

    // Whether a pattern matches the problem's location or its missing file.
    bool Exclude(const Problem& problem) const;
    // Adds the pattern here and to exclude.txt: ERROR_SUCCESS, or why the file could not be
    // written (the list is unchanged then).
    long AddToFile(const std::string& pattern);
    // Takes the excluded problems out, the others keeping their order.
    void RemoveFrom(Problems& problems) const;

  private:
    std::vector<std::string> patterns_;  // in upper case
};

}  // namespace core
