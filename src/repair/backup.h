// The registry backup taken before a repair run changes anything.
#pragma once

#include "core/problem.h"
#include "repair/user.h"

namespace repair {

// Exports the key of every registry problem, selected or not, into its own file of the
// backup folder through "REG EXPORT". The exports run side by side; this waits for each (at
// most a minute). True when every export succeeded, or when the user chose to repair
// without a complete backup; false when the repair must not start.
bool BackUpRegistry(const core::Problems& problems, User& user);

}  // namespace repair
