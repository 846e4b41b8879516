// What a repair asks of the user, whoever answers: the windows, a test or the benchmark.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"

namespace repair {

class User {
  public:
    // Which of the found files (best first) the problem's entry is to point to; nothing
    // leaves the choice to the repair.
    virtual std::optional<std::string> ChoosePath(const core::Problem& problem,
                                                  const std::vector<std::string>& candidates) = 0;
    // Whether an entry none of whose found files was chosen is deleted (a user who cancelled
    // chose so) or left as it is (nobody was there to choose).
    virtual bool DeleteWhenNoneChosen() const { return true; }
    // Tells that a file could not be deleted; the problem stays.
    virtual void CannotDelete(const std::string& path) = 0;
    // Whether to repair although the registry backup is not complete.
    virtual bool RepairWithoutCompleteBackup() = 0;

  protected:
    ~User() = default;
};

}  // namespace repair
