// The search for a missing file under the Windows and program-files folders.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/folders.h"
#include "core/language.h"
#include "core/problem.h"
#include "core/progress.h"

namespace repair {

// Every entry of the folder's tree named `fileName` (without regard to case), files and
// folders alike: a folder's own matches in listing order, then each subfolder's tree in
// turn. Links and junctions are not entered. `folder` has no trailing backslash.
std::vector<std::string> SearchFile(const std::string& folder, const std::string& fileName,
                                    const std::string& searching, core::Progress& progress);

// The path without one trailing backslash.
std::string StripBackslash(const std::string& path);

// One repair run's search. Both trees are walked once, on the first search, into an index of
// names; every later search of the run looks there. It offers exactly what SearchFile would
// find in the Windows tree and then the program-files tree, in the same order, less the
// entries gone since.
class MissingFileSearch {
  public:
    MissingFileSearch(const core::Folders& folders, const core::Language& language,
                      core::Progress& progress)
        : folders_(folders), language_(language), progress_(progress) {}

    // The candidates for the problem's missing file; none for an old temporary file or a
    // problem that names no file.
    std::vector<std::string> Candidates(const core::Problem& problem);

  private:
    void BuildIndex();

    const core::Folders& folders_;
    const core::Language& language_;
    core::Progress& progress_;
    bool indexed_ = false;
    std::unordered_map<std::string, std::vector<std::string>> byName_;
};

}  // namespace repair
