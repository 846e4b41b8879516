// The ways a problem is repaired: its entry re-pointed to a found file, or deleted.
#pragma once

#include <string>
#include <utility>

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

// What a repair did with one problem.
enum class Action {
    Repointed,    // the entry points to the found file now
    Deleted,      // the entry or file is gone
    NeedsChoice,  // left: several or doubtful finds, and nobody chose
    Failed,       // left: the change or the delete failed
};
struct Outcome {
    Outcome(Action done, std::string path = {}, std::string why = {})
        : action(done), newPath(std::move(path)), reason(std::move(why)) {}
    Action action;
    std::string newPath;  // for Repointed
    std::string reason;   // for Failed
};

// Re-points the problem's entry to `newPath`; marks the problem repaired and returns true on
// success.
bool Repoint(core::Problem& problem, const std::string& newPath, const core::Folders& folders);
// Deletes the problem's entry or file; marks the problem repaired once it is gone.
Outcome Delete(core::Problem& problem, User& user);

// One repair run's decisions, problem by problem.
class Repairer {
  public:
    Repairer(Method method, const core::Folders& folders, const core::Language& language,
             core::Progress& progress, User& user)
        : method_(method), folders_(folders), user_(user), search_(folders, language, progress) {}

    // Old temporary files go whatever the method; the aggressive method deletes every entry;
    // the conservative one re-points the entry to the missing file when it is found, and
    // deletes it when it is not, when the choice is cancelled or when re-pointing fails. A
    // user who does not delete what nobody chose has such an entry left.
    Outcome Repair(core::Problem& problem);

  private:
    // The path to re-point to: the only find when it lies in a folder of the missing file's
    // name, else the user's choice among the finds offered best first; or nothing (`asked`
    // tells whether the user was asked).
    std::string FoundPath(const core::Problem& problem, bool& asked);

    const Method method_;
    const core::Folders& folders_;
    User& user_;
    MissingFileSearch search_;
};

}  // namespace repair
