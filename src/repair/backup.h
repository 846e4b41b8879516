// What a repair run keeps before it changes anything, so that it can be undone: the registry
// exports, copies of the shortcuts, and at its end the manifest of what it changed. The files
// of one run share its stamp.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"
#include "repair/run_record.h"
#include "repair/user.h"

namespace repair {

// The backup folder beside the program, without the trailing backslash.
std::string BackupFolder();

// The backup of one repair run.
class RunBackup {
  public:
    // Takes a stamp that no earlier run in the backup folder has: the time to the second,
    // with a letter added for a second run within the same second.
    explicit RunBackup(Method method);

    const std::string& Stamp() const { return record_.stamp; }

    // Exports the key of every registry problem, selected or not, into its own file
    // `<stamp>-<n>.reg` through "REG EXPORT" (when `exportRegistry`; the exports run side by
    // side, each waited for at most a minute), and copies each shortcut among `positions` to
    // `<stamp>-<n>.lnk`. False when something could not be kept and the user would not repair
    // without it: then nothing may change.
    bool Take(const core::Problems& problems, const std::vector<std::size_t>& positions,
              bool exportRegistry, User& user);

    // The export or copy that keeps the problem's earlier state; empty when nothing does.
    const std::string& FileOf(std::size_t position) const;

    // Adds what the repair did with the problem to the manifest.
    void Record(std::size_t position, const core::Problem& problem, const Outcome& outcome);

    // Writes the manifest `<stamp>.json` when the run changed anything: ERROR_SUCCESS, or
    // why it could not be written.
    long Save() const;

  private:
    std::string folder_;  // long form, with the trailing backslash
    std::vector<std::string> files_;
    RunRecord record_;
};

}  // namespace repair
