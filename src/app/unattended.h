// /SCAN and /REPAIR: the window's scan and repair with no window and no message box; what was
// found and done goes to the starter's console or output, to the report and to the exit code.
#pragma once

#include "app/session.h"
#include "app/switches.h"

namespace app {

// Runs the scan, and the repair of everything found for /REPAIR; returns the exit code.
int RunUnattended(const Invocation& invocation, const Session& session);

}  // namespace app
