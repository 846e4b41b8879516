// The registry backup taken before a repair run changes anything.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"
#include "repair/user.h"

namespace repair {

// Exports the key of every registry problem, selected or not, into its own file of the
// backup folder through "REG EXPORT". The exports run side by side; this waits for each (at
// most a minute). When every export succeeded, or the user chose to repair without a complete
// backup: the export file of each problem (its long path; empty for a problem that is no
// registry entry and for an export that failed), in the problems' order. Nothing when the
// repair must not start.
std::optional<std::vector<std::string>> BackUpRegistry(const core::Problems& problems, User& user);

}  // namespace repair
