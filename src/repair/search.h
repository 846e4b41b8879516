// The search for a missing file under the Windows and program-files folders.
#pragma once

#include <cstddef>
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

// The evidence that a found file is the missing one's program's own: how many folder names
// the two paths share, counted from each file's own folder upwards while they match, in any
// letter case ("...\\Viewers\\Photo Viewer\\a.exe" and "...\\Photo Viewer\\a.exe" share one).
std::size_t SharedFolderNames(const std::string& candidate, const std::string& missing);
// Puts the candidates with the most evidence first; ties keep their order.
void RankByEvidence(std::vector<std::string>& candidates, const std::string& missing);

// The path without one trailing backslash.
std::string StripBackslash(const std::string& path);

// One repair run's search. The trees are walked once, on the first search, into an index of
// names; every later search of the run looks there. It offers exactly what SearchFile would
// find in the Windows tree, the program-files tree and then the 32-bit programs' one where
// there is one, in the same order, less the entries gone since.
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
