// The ways a problem is repaired: its entry re-pointed to a found file, or deleted.
#pragma once

#include <string>

#include "core/folders.h"
#include "core/language.h"
#include "core/problem.h"
#include "core/progress.h"
#include "repair/search.h"
#include "repair/user.h"

namespace repair {

enum class Method {
    Conservative,  // search the missing file and re-point the entry
    Aggressive,    // delete the broken entries
};

// Re-points the problem's entry to `newPath`; marks the problem repaired and returns true on
// success.
bool Repoint(core::Problem& problem, const std::string& newPath, const core::Folders& folders);
// Deletes the problem's entry or file; marks the problem repaired once it is gone.
void Delete(core::Problem& problem, User& user);

// One repair run's decisions, problem by problem.
class Repairer {
  public:
    Repairer(Method method, const core::Folders& folders, const core::Language& language,
             core::Progress& progress, User& user)
        : method_(method), folders_(folders), user_(user), search_(folders, language, progress) {}

    // Old temporary files go whatever the method; the aggressive method deletes every entry;
    // the conservative one re-points the entry to the missing file when it is found, and
    // deletes it when it is not, when the choice is cancelled or when re-pointing fails.
    void Repair(core::Problem& problem);

  private:
    // The path to re-point to: the only find when it lies in a folder of the missing file's
    // name, else the user's choice among the finds offered best first; or nothing.
    std::string FoundPath(const core::Problem& problem);

    const Method method_;
    const core::Folders& folders_;
    User& user_;
    MissingFileSearch search_;
};

}  // namespace repair
