// What a repair asks of the user, whoever answers: the windows, a test or the benchmark.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"

namespace repair {

class User {
  public:
    // Which of several found files the problem's entry is to point to; nothing leaves the
    // choice to the repair, which then deletes the entry.
    virtual std::optional<std::string> ChoosePath(const core::Problem& problem,
                                                  const std::vector<std::string>& candidates) = 0;
    // Tells that a file could not be deleted; the problem stays.
    virtual void CannotDelete(const std::string& path) = 0;
    // Whether to repair although the registry backup is not complete.
    virtual bool RepairWithoutCompleteBackup() = 0;

  protected:
    ~User() = default;
};

}  // namespace repair
